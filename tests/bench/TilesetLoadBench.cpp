// Times loading the largest table (255 tilesets) against a plain read of it
// (PlainTableRead; target: within 1.5 times), in the Windows builds, where
// Google Benchmark is not at hand: the median of several rounds, and their
// ratio. Plain timing; run it by hand (scripts/bench).

#include "data/TilesetFile.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"

#include "tests/bench/BenchTables.h"
#include "tests/bench/PlainTableRead.h"
#include "tests/support/TemporaryFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int ROUNDS = 9;
constexpr int RUNS_PER_ROUND = 50;

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char*) override {}
};

// The median time of one run, in microseconds; the machine may be busy with
// other work, so each round's figure is one of several.
double MedianMicroseconds(const std::function<void()>& run)
{
    std::vector<double> rounds;
    for (int round = 0; round < ROUNDS; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < RUNS_PER_ROUND; ++k) {
            run();
        }
        const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
        rounds.push_back(spent.count() / RUNS_PER_ROUND);
    }
    std::nth_element(rounds.begin(), rounds.begin() + ROUNDS / 2, rounds.end());
    return rounds[ROUNDS / 2];
}

} // namespace

int main()
{
    TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    TilesetTable largest = BenchTables::Largest();
    if (!TilesetFile::Save(path, largest).Succeeded()) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return 1;
    }
    const std::size_t size = static_cast<std::size_t>(std::ifstream(path, std::ios::binary | std::ios::ate).tellg());

    // Every load's last ambient number goes into the sum, so that none is left out.
    unsigned long checksum = 0;
    IgnoredNames names;
    const double load = MedianMicroseconds([&] {
        TilesetTable table;
        TilesetFile::Load(path, table, names);
        checksum += table.RecordAt(MAX_TILESET_COUNT - 1).ambient;
    });
    bool sound = true;
    const double plainRead = MedianMicroseconds([&] {
        const PlainTableRead::PlainTable table = PlainTableRead::Read(path);
        sound = sound && table.sound;
        checksum += table.sound ? table.records[MAX_TILESET_COUNT - 1].ambient : 0;
    });
    if (!sound) {
        std::fprintf(stderr, "the plain read did not read a sound table\n");
        return 1;
    }
    std::printf("Table of %d tilesets: %zu bytes (checksum %lu)\n", MAX_TILESET_COUNT, size, checksum);
    std::printf("load        %9.1f us\nplain read  %9.1f us\nload / plain read %5.2fx (target: within 1.5x)\n", load,
                plainRead, load / plainRead);
    return 0;
}
