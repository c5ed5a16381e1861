// Times loading and saving the largest table (255 tilesets) against a plain
// read and a plain write of the same bytes through the same file streams, and
// prints each ratio. The target is a load and a save within twice the plain copy.
// Also times the table tool's dump and build of that table, each against the load.

#include "data/CommitFile.h"
#include "data/TilesetFile.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "tools/TableBuilder.h"
#include "tools/TableDump.h"
#include "tools/TableJsonReader.h"
#include "tools/TableTextReader.h"
#include "tools/TableTool.h"

#include "tests/bench/BenchTables.h"
#include "tests/support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char* name) override { benchmark::DoNotOptimize(name); }
};

struct Fixture {
    Fixture() : table(BenchTables::Largest())
    {
        tableFile = folder.Path(TILESET_FILE_NAME);
        TilesetFile::Save(tableFile, table);
        std::ifstream in(tableFile, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        textDump = Path("table.txt");
        jsonDump = Path("table.json");
        std::ofstream text(textDump, std::ios::binary);
        TableDump::WriteText(table, text);
        std::ofstream json(jsonDump, std::ios::binary);
        TableDump::WriteJson(table, json);
    }
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    std::string Path(const char* name) const { return folder.Path(name); }

    TemporaryFolder folder;
    TilesetTable table;
    std::string tableFile;
    std::vector<char> bytes;
    std::string textDump;
    std::string jsonDump;
};

Fixture& Files()
{
    static Fixture files;
    return files;
}

void PlainWrite(const std::string& path)
{
    const std::vector<char>& bytes = Files().bytes;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
}

void BM_Load(benchmark::State& state)
{
    IgnoredNames names;
    for (auto _ : state) {
        TilesetTable table;
        TilesetFile::Load(Files().tableFile, table, names);
        benchmark::DoNotOptimize(table.RecordAt(MAX_TILESET_COUNT - 1).ambient);
    }
}

void BM_PlainRead(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<char> bytes(Files().bytes.size());
        std::ifstream in(Files().tableFile, std::ios::binary);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The format's own work: the save without its flush to disk and replace.
void BM_Write(benchmark::State& state)
{
    const std::string path = Files().Path("written.dat");
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        TilesetFile::Write(Files().table, out);
        out.close();
    }
}

void BM_PlainWrite(benchmark::State& state)
{
    const std::string path = Files().Path("plain.dat");
    for (auto _ : state) {
        PlainWrite(path);
    }
}

void BM_Save(benchmark::State& state)
{
    for (auto _ : state) {
        TilesetFile::Save(Files().tableFile, Files().table);
    }
}

void BM_PlainWriteCommitted(benchmark::State& state)
{
    const std::string path = Files().Path("plain.dat");
    const std::string bytes(Files().bytes.begin(), Files().bytes.end());
    for (auto _ : state) {
        TempFile temp = WriteTempFile(path, bytes);
        CommitFile(temp, path);
    }
}

// The commands as a script runs them, with the output sent to a file.
void RunToolCommand(benchmark::State& state, const std::vector<std::string>& args)
{
    const std::string outputPath = Files().Path("output.txt");
    for (auto _ : state) {
        std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
        std::ostringstream err;
        if (TableTool::Run(args, out, err) != TABLE_TOOL_EXIT_OK) {
            state.SkipWithError(err.str().c_str());
            return;
        }
    }
}

void BM_Dump(benchmark::State& state)
{
    RunToolCommand(state, {"dump", Files().tableFile});
}

void BM_DumpJson(benchmark::State& state)
{
    RunToolCommand(state, {"dump", "--format", "json", Files().tableFile});
}

void BM_Build(benchmark::State& state)
{
    RunToolCommand(state, {"build", Files().textDump, "-o", Files().Path("built.dat")});
}

void BM_BuildJson(benchmark::State& state)
{
    RunToolCommand(state, {"build", "--format", "json", Files().jsonDump, "-o", Files().Path("built.dat")});
}

// The build's own work: reading the dump into a table, without the files.
void BM_ReadTextDump(benchmark::State& state)
{
    std::ifstream in(Files().textDump, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        TableBuilder builder;
        TableTextReader::Read(text, builder);
        benchmark::DoNotOptimize(builder.Table().RecordAt(MAX_TILESET_COUNT - 1).ambient);
    }
}

// The machine may be busy with other work: each figure is the median of several runs.
#define TILESET_BENCHMARK(function) \
    BENCHMARK(function)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true)

TILESET_BENCHMARK(BM_Load);
TILESET_BENCHMARK(BM_PlainRead);
TILESET_BENCHMARK(BM_Write);
TILESET_BENCHMARK(BM_PlainWrite);
TILESET_BENCHMARK(BM_Save);
TILESET_BENCHMARK(BM_PlainWriteCommitted);
TILESET_BENCHMARK(BM_Dump);
TILESET_BENCHMARK(BM_DumpJson);
TILESET_BENCHMARK(BM_Build);
TILESET_BENCHMARK(BM_BuildJson);
TILESET_BENCHMARK(BM_ReadTextDump);

// Prints as usual and keeps each benchmark's median time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const char* what, const std::string& measured, const std::string& baseline) const
    {
        const auto m = medians.find(measured);
        const auto b = medians.find(baseline);
        if (m != medians.end() && b != medians.end()) {
            std::printf("%-52s %5.2fx\n", what, m->second / b->second);
        }
    }

private:
    std::map<std::string, double> medians;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::printf("Table of %d tilesets: %zu bytes\n", MAX_TILESET_COUNT, Files().bytes.size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of the medians (target: within 2x)\n");
    reporter.PrintRatio("load / plain read", "BM_Load", "BM_PlainRead");
    reporter.PrintRatio("write / plain write", "BM_Write", "BM_PlainWrite");
    reporter.PrintRatio("save / plain write, flushed and replaced", "BM_Save", "BM_PlainWriteCommitted");
    std::printf("\nThe table tool against the load\n");
    reporter.PrintRatio("dump (text) / load", "BM_Dump", "BM_Load");
    reporter.PrintRatio("dump (JSON) / load", "BM_DumpJson", "BM_Load");
    reporter.PrintRatio("build from text (read, check, safe save) / load", "BM_Build", "BM_Load");
    reporter.PrintRatio("build from JSON (read, check, safe save) / load", "BM_BuildJson", "BM_Load");
    reporter.PrintRatio("reading the text dump alone / load", "BM_ReadTextDump", "BM_Load");
    reporter.PrintRatio("build from text / save", "BM_Build", "BM_Save");
    benchmark::Shutdown();
    return 0;
}
