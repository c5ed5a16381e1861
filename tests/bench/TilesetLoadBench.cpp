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
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int ROUNDS = 15;
constexpr int RUNS_PER_ROUND = 20;

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char*) override {}
};

// One run's time in microseconds, from a round of several runs.
double RoundMicroseconds(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < RUNS_PER_ROUND; ++k) {
        run();
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / RUNS_PER_ROUND;
}

double Median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

struct Timings {
    double load;
    double plainRead;
    double ratio;
};

// The medians of rounds of each, taken by turns: the machine may be busy with
// other work, and a slow spell then hits both. The ratio is the median of the
// rounds' ratios.
Timings TimeByTurns(const std::function<void()>& load, const std::function<void()>& plainRead)
{
    std::vector<double> loads;
    std::vector<double> plainReads;
    std::vector<double> ratios;
    for (int round = 0; round < ROUNDS; ++round) {
        loads.push_back(RoundMicroseconds(load));
        plainReads.push_back(RoundMicroseconds(plainRead));
        ratios.push_back(loads.back() / plainReads.back());
    }
    return {Median(loads), Median(plainReads), Median(ratios)};
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
    bool sound = true;
    const Timings timings = TimeByTurns(
        [&] {
            TilesetTable table;
            TilesetFile::Load(path, table, names);
            checksum += table.RecordAt(MAX_TILESET_COUNT - 1).ambient;
        },
        [&] {
            const PlainTableRead::PlainTable table = PlainTableRead::Read(path);
            sound = sound && table.sound;
            checksum += table.sound ? table.records[MAX_TILESET_COUNT - 1].ambient : 0;
        });
    if (!sound) {
        std::fprintf(stderr, "the plain read did not read a sound table\n");
        return 1;
    }
    std::printf("Table of %d tilesets: %zu bytes (checksum %lu)\n", MAX_TILESET_COUNT, size, checksum);
    std::printf("load        %9.1f us\nplain read  %9.1f us\n", timings.load, timings.plainRead);
    std::printf("load / plain read %5.2fx (target: within 1.5x; the median of %d rounds' ratios)\n", timings.ratio,
                ROUNDS);
    return 0;
}
