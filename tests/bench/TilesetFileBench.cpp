// Times loading the largest table (255 tilesets) against a plain read of it
// (PlainTableRead; target: within 1.5 times), and saving it against a plain
// write of the same bytes through the same file stream (target: within twice).
// Also times the table tool's dump and build of that table, each against the
// load, the build from JSON against the one from text (target: within 1.5
// times), and prints the peak memory of each of the tool's commands on it.
// The dump and build with a code page are timed against the plain ones (target:
// within 1.5 times), on that table and on one of Cyrillic texts in code page 1251.
// The CSV dump and build of that table with every slot filled are timed against
// its text dump and build (target: within 1.5 times).
// apply of a patch that changes every field of that table is timed against the
// build of its dump (target: within 3 times), and patch against diff of the
// same two tables (target: within 1.5 times).

#include "data/FileSave.h"
#include "data/TilesetFile.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/TableBuilder.h"
#include "tools/TableCsv.h"
#include "tools/TableJson.h"
#include "tools/TablePatch.h"
#include "tools/TableText.h"
#include "tools/TableTool.h"
#include "tools/TableToolArguments.h"

#include "tests/bench/BenchTables.h"
#include "tests/bench/PlainTableRead.h"
#include "tests/support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char* name) override { benchmark::DoNotOptimize(name); }
};

// The largest table with Cyrillic words in code page 1251: random letters
// (0xC0 to 0xFF), a space now and then, so that neither kind of byte is predicted.
TilesetTable LargestCyrillicTable()
{
    std::mt19937 random(1251);
    std::uniform_int_distribution<int> letter(0xC0, 0xFF);
    TilesetTable table = BenchTables::Largest();
    for (int i = 0; i < MAX_TILESET_COUNT; ++i) {
        for (char(&slot)[NAME_FIELD_SIZE] : table.RecordAt(i).slots) {
            for (char* c = slot; *c != '\0'; ++c) {
                *c = static_cast<char>(random() % 6 == 0 ? ' ' : letter(random));
            }
        }
    }
    return table;
}

// The largest table with no slot empty: a spreadsheet's rows are all there anyway.
TilesetTable LargestFullTable()
{
    TilesetTable table = BenchTables::Largest();
    for (int i = 0; i < MAX_TILESET_COUNT; ++i) {
        for (char(&slot)[NAME_FIELD_SIZE] : table.RecordAt(i).slots) {
            slot[0] = slot[0] == '\0' ? 'z' : slot[0];
        }
    }
    return table;
}

// The table with every field changed: each name, each ambient number, and
// each slot's bytes moved on by one (an empty slot filled), so no text keeps its value.
TilesetTable EveryFieldChanged(const TilesetTable& table)
{
    TilesetTable changed = table;
    for (int i = 0; i < MAX_TILESET_COUNT; ++i) {
        TilesetRecord& record = changed.RecordAt(i);
        const std::string name = "Changed " + std::to_string(i);
        std::fill(std::begin(record.name), std::end(record.name), u'\0');
        std::copy(name.begin(), name.end(), record.name);
        record.ambient = static_cast<uint8_t>(record.ambient + 1);
        for (char(&slot)[NAME_FIELD_SIZE] : record.slots) {
            if (slot[0] == '\0') {
                std::strcpy(slot, "new");
            }
            for (char* c = slot; *c != '\0'; ++c) {
                *c = static_cast<char>(*c == 'z' ? 'a' : *c + 1);
            }
        }
    }
    return changed;
}

const char CODE_PAGE[] = "1251";

const CodePageTable* CodePageNamed(const char* number)
{
    std::string error;
    return number != nullptr ? CodePage::Parse(number, error) : nullptr;
}

// The dump of table into a new file at path, plain or in the code page of that number.
void WriteDump(const TilesetTable& table, const std::string& path, const char* codePage, TableDumpFormat format)
{
    std::ofstream out(path, std::ios::binary);
    if (format == TABLE_DUMP_JSON) {
        TableJson::Write(table, CodePageNamed(codePage), out);
    } else if (format == TABLE_DUMP_CSV) {
        TableCsv::Write(table, CodePageNamed(codePage), out);
    } else {
        TableText::Write(table, CodePageNamed(codePage), out);
    }
}

struct Fixture {
    Fixture() : table(BenchTables::Largest())
    {
        tableFile = folder.Path(TILESET_FILE_NAME);
        TilesetFile::Save(tableFile, table);
        std::ifstream in(tableFile, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        textDump = Path("table.txt");
        jsonDump = Path("table.json");
        WriteDump(table, textDump, nullptr, TABLE_DUMP_TEXT);
        WriteDump(table, jsonDump, nullptr, TABLE_DUMP_JSON);
        WriteDump(table, Path("table-cp.txt"), CODE_PAGE, TABLE_DUMP_TEXT);
        WriteDump(table, Path("table-cp.json"), CODE_PAGE, TABLE_DUMP_JSON);
        TilesetTable cyrillic = LargestCyrillicTable();
        TilesetFile::Save(Path("cyrillic.dat"), cyrillic);
        WriteDump(cyrillic, Path("cyrillic.txt"), nullptr, TABLE_DUMP_TEXT);
        WriteDump(cyrillic, Path("cyrillic.json"), nullptr, TABLE_DUMP_JSON);
        WriteDump(cyrillic, Path("cyrillic-cp.txt"), CODE_PAGE, TABLE_DUMP_TEXT);
        WriteDump(cyrillic, Path("cyrillic-cp.json"), CODE_PAGE, TABLE_DUMP_JSON);
        TilesetTable full = LargestFullTable();
        TilesetFile::Save(Path("full.dat"), full);
        WriteDump(full, Path("full.txt"), nullptr, TABLE_DUMP_TEXT);
        WriteDump(full, Path("full.csv"), nullptr, TABLE_DUMP_CSV);
        TilesetTable changed = EveryFieldChanged(table);
        changedFile = Path("changed.dat");
        TilesetFile::Save(changedFile, changed);
        everyFieldPatch = Path("every-field.patch");
        std::ofstream(everyFieldPatch, std::ios::binary) << TablePatch::Between(table, changed, nullptr);
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
    std::string changedFile;
    std::string everyFieldPatch;
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
        const PlainTableRead::PlainTable table = PlainTableRead::Read(Files().tableFile);
        if (!table.sound) {
            state.SkipWithError("the plain read did not read a sound table");
            return;
        }
        benchmark::DoNotOptimize(table.records[MAX_TILESET_COUNT - 1].ambient);
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
        SaveFile(path, bytes);
    }
}

// The commands as a script runs them, with the output sent to a file.
void RunToolCommand(benchmark::State& state, const std::vector<std::string>& args,
                    TableToolExitCode expected = TABLE_TOOL_EXIT_OK)
{
    const std::string outputPath = Files().Path("output.txt");
    for (auto _ : state) {
        std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
        std::istringstream in;
        std::ostringstream err;
        if (TableTool::Run(args, in, out, err) != expected) {
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

// Through the safe save, as build writes its table.
void BM_ApplyEveryField(benchmark::State& state)
{
    RunToolCommand(state,
                   {"apply", "-t", Files().tableFile, "-o", Files().Path("applied.dat"), Files().everyFieldPatch});
}

void BM_Patch(benchmark::State& state)
{
    RunToolCommand(state, {"patch", Files().tableFile, Files().changedFile});
}

void BM_Diff(benchmark::State& state)
{
    RunToolCommand(state, {"diff", Files().tableFile, Files().changedFile}, TABLE_TOOL_EXIT_PROBLEMS);
}

// dump or build on the table of letters or the Cyrillic one: file is its name
// in the fixture's folder, page the code page or none.
void BM_Command(benchmark::State& state, const char* command, const char* file, const char* page, const char* format)
{
    std::vector<std::string> args = {command, "--format", format, Files().Path(file)};
    if (page != nullptr) {
        args.insert(args.begin() + 1, {"--code-page", page});
    }
    if (std::strcmp(command, "build") == 0) {
        args.insert(args.end(), {"-o", Files().Path("built.dat")});
    }
    RunToolCommand(state, args);
}

// The build's own work: reading the dump into a table, without the files.
void ReadDump(benchmark::State& state, const std::string& path,
              void (*read)(const std::string&, const CodePageTable*, TableBuilder&))
{
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        TableBuilder builder;
        read(text, nullptr, builder);
        benchmark::DoNotOptimize(builder.Table().RecordAt(MAX_TILESET_COUNT - 1).ambient);
    }
}

void BM_ReadTextDump(benchmark::State& state)
{
    ReadDump(state, Files().textDump, TableText::Read);
}

void BM_ReadJsonDump(benchmark::State& state)
{
    ReadDump(state, Files().jsonDump, TableJson::Read);
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
TILESET_BENCHMARK(BM_ReadJsonDump);
TILESET_BENCHMARK(BM_ApplyEveryField);
TILESET_BENCHMARK(BM_Patch);
TILESET_BENCHMARK(BM_Diff);
#define TILESET_BENCHMARK_OF(function, name, ...)  \
    BENCHMARK_CAPTURE(function, name, __VA_ARGS__) \
        ->Unit(benchmark::kMicrosecond)            \
        ->Repetitions(7)                           \
        ->ReportAggregatesOnly(true)

TILESET_BENCHMARK_OF(BM_Command, DumpLettersInCodePage, "dump", TILESET_FILE_NAME, CODE_PAGE, "text");
TILESET_BENCHMARK_OF(BM_Command, BuildLettersInCodePage, "build", "table-cp.txt", CODE_PAGE, "text");
TILESET_BENCHMARK_OF(BM_Command, DumpLettersInCodePageJson, "dump", TILESET_FILE_NAME, CODE_PAGE, "json");
TILESET_BENCHMARK_OF(BM_Command, BuildLettersInCodePageJson, "build", "table-cp.json", CODE_PAGE, "json");
TILESET_BENCHMARK_OF(BM_Command, DumpCyrillic, "dump", "cyrillic.dat", nullptr, "text");
TILESET_BENCHMARK_OF(BM_Command, DumpCyrillicInCodePage, "dump", "cyrillic.dat", CODE_PAGE, "text");
TILESET_BENCHMARK_OF(BM_Command, BuildCyrillic, "build", "cyrillic.txt", nullptr, "text");
TILESET_BENCHMARK_OF(BM_Command, BuildCyrillicInCodePage, "build", "cyrillic-cp.txt", CODE_PAGE, "text");
TILESET_BENCHMARK_OF(BM_Command, DumpCyrillicJson, "dump", "cyrillic.dat", nullptr, "json");
TILESET_BENCHMARK_OF(BM_Command, BuildCyrillicJson, "build", "cyrillic.json", nullptr, "json");
TILESET_BENCHMARK_OF(BM_Command, DumpCyrillicInCodePageJson, "dump", "cyrillic.dat", CODE_PAGE, "json");
TILESET_BENCHMARK_OF(BM_Command, BuildCyrillicInCodePageJson, "build", "cyrillic-cp.json", CODE_PAGE, "json");
TILESET_BENCHMARK_OF(BM_Command, DumpFull, "dump", "full.dat", nullptr, "text");
TILESET_BENCHMARK_OF(BM_Command, BuildFull, "build", "full.txt", nullptr, "text");
TILESET_BENCHMARK_OF(BM_Command, DumpFullCsv, "dump", "full.dat", nullptr, "csv");
TILESET_BENCHMARK_OF(BM_Command, BuildFullCsv, "build", "full.csv", nullptr, "csv");

// Prints as usual and keeps each benchmark's median time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
                processorMedians[run.run_name.function_name] = run.GetAdjustedCPUTime();
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

    // With the ratio of the processor times too: the safe save's flush to disk
    // takes as long as the machine's other work makes it.
    void PrintRatios(const char* what, const std::string& measured, const std::string& baseline) const
    {
        const auto m = medians.find(measured);
        const auto b = medians.find(baseline);
        const auto mp = processorMedians.find(measured);
        const auto bp = processorMedians.find(baseline);
        if (m != medians.end() && b != medians.end() && mp != processorMedians.end() && bp != processorMedians.end()) {
            std::printf("%-52s %5.2fx (processor time %.2fx)\n", what, m->second / b->second, mp->second / bp->second);
        }
    }

private:
    std::map<std::string, double> medians;
    std::map<std::string, double> processorMedians;
};

const char PEAK_MEMORY_OPTION[] = "--peak-memory";

// Run as "tileset_file_bench --peak-memory PROGRAM ARGS...": starts the program
// with its output to /dev/null and prints the peak resident size of its
// process in kilobytes. Linux counts a child's peak from the size of the
// process it was forked from, so a fresh and small process, this program just
// started, forks it rather than the benchmark with its tables.
int TellPeakMemory(char** command)
{
    const pid_t child = fork();
    if (child == 0) {
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
        execv(command[0], command);
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        return 1;
    }
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

// The peak in kilobytes of the tool run with args, or -1 when it failed.
long ToolPeakMemory(const std::vector<std::string>& args)
{
    std::string command = "'" + std::filesystem::read_symlink("/proc/self/exe").string() + "' " + PEAK_MEMORY_OPTION +
                          " '" + KESTRIVANE_TABLE_TOOL + "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    FILE* const peak = popen(command.c_str(), "r");
    long kilobytes = -1;
    if (peak == nullptr) {
        return kilobytes;
    }
    if (std::fscanf(peak, "%ld", &kilobytes) != 1) {
        kilobytes = -1;
    }
    return pclose(peak) == 0 ? kilobytes : -1;
}

void PrintPeakMemory()
{
    const std::string out = Files().Path("out.dat");
    const std::string table = Files().tableFile;
    const struct {
        const char* what;
        std::vector<std::string> args;
    } commands[] = {
        {"dump", {"dump", table}},
        {"dump --format json", {"dump", "--format", "json", table}},
        {"dump --textconv", {"dump", "--textconv", table}},
        {"check", {"check", table}},
        {"build (text)", {"build", Files().textDump, "-o", out}},
        {"build --format json", {"build", "--format", "json", Files().jsonDump, "-o", out}},
        {"dump --format csv", {"dump", "--format", "csv", table}},
        {"build --format csv (every slot filled)", {"build", "--format", "csv", Files().Path("full.csv"), "-o", out}},
        {"diff", {"diff", table, table}},
        {"merge", {"merge", table, table, table, "-o", out}},
        {"patch of every field", {"patch", table, Files().changedFile}},
        {"apply of a patch of every field", {"apply", "-t", table, "-o", out, Files().everyFieldPatch}},
        {"dump --code-page 1251 (Cyrillic table)", {"dump", "--code-page", CODE_PAGE, Files().Path("cyrillic.dat")}},
        {"build --code-page 1251 (Cyrillic table)",
         {"build", "--code-page", CODE_PAGE, Files().Path("cyrillic-cp.txt"), "-o", out}},
    };
    std::printf("\nPeak memory of each command of the table tool on the largest table\n");
    for (const auto& command : commands) {
        std::printf("%-52s %6.1f MB\n", command.what, static_cast<double>(ToolPeakMemory(command.args)) / 1024);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], PEAK_MEMORY_OPTION) == 0) {
        return TellPeakMemory(argv + 2);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::printf("Table of %d tilesets: %zu bytes\n", MAX_TILESET_COUNT, Files().bytes.size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of the medians\n");
    reporter.PrintRatio("load / plain read (target: within 1.5x)", "BM_Load", "BM_PlainRead");
    reporter.PrintRatio("write / plain write (target: within 2x)", "BM_Write", "BM_PlainWrite");
    reporter.PrintRatio("save / plain write, flushed and replaced (2x)", "BM_Save", "BM_PlainWriteCommitted");
    std::printf("\nThe table tool against the load\n");
    reporter.PrintRatio("dump (text) / load", "BM_Dump", "BM_Load");
    reporter.PrintRatio("dump (JSON) / load", "BM_DumpJson", "BM_Load");
    reporter.PrintRatio("build from text (read, check, safe save) / load", "BM_Build", "BM_Load");
    reporter.PrintRatio("build from JSON (read, check, safe save) / load", "BM_BuildJson", "BM_Load");
    reporter.PrintRatio("reading the text dump alone / load", "BM_ReadTextDump", "BM_Load");
    reporter.PrintRatio("build from text / save", "BM_Build", "BM_Save");
    std::printf("\nBuilding from JSON against building from text (target: within 1.5x)\n");
    reporter.PrintRatios("build from JSON / build from text", "BM_BuildJson", "BM_Build");
    reporter.PrintRatios("reading the JSON dump / reading the text dump", "BM_ReadJsonDump", "BM_ReadTextDump");
    std::printf("\nWith the code page %s against without (target: within 1.5x)\n", CODE_PAGE);
    const struct {
        const char* what;
        const char* measured;
        const char* baseline;
    } codePageRatios[] = {
        {"dump of the table of letters", "DumpLettersInCodePage", "BM_Dump"},
        {"build of the table of letters", "BuildLettersInCodePage", "BM_Build"},
        {"dump of the Cyrillic table", "DumpCyrillicInCodePage", "BM_Command/DumpCyrillic"},
        {"build of the Cyrillic table", "BuildCyrillicInCodePage", "BM_Command/BuildCyrillic"},
        {"JSON dump of the table of letters", "DumpLettersInCodePageJson", "BM_DumpJson"},
        {"JSON build of the table of letters", "BuildLettersInCodePageJson", "BM_BuildJson"},
        {"JSON dump of the Cyrillic table", "DumpCyrillicInCodePageJson", "BM_Command/DumpCyrillicJson"},
        {"JSON build of the Cyrillic table", "BuildCyrillicInCodePageJson", "BM_Command/BuildCyrillicJson"},
    };
    for (const auto& ratio : codePageRatios) {
        reporter.PrintRatios(ratio.what, std::string("BM_Command/") + ratio.measured, ratio.baseline);
    }
    std::printf("\nCSV against text, on the largest table with every slot filled (target: within 1.5x)\n");
    reporter.PrintRatios("CSV dump / text dump", "BM_Command/DumpFullCsv", "BM_Command/DumpFull");
    reporter.PrintRatios("CSV build / text build", "BM_Command/BuildFullCsv", "BM_Command/BuildFull");
    std::printf("\nPatches of every field of the table (the patch is %.1f times the dump's size)\n",
                static_cast<double>(std::filesystem::file_size(Files().everyFieldPatch)) /
                    static_cast<double>(std::filesystem::file_size(Files().textDump)));
    reporter.PrintRatios("apply of the patch / build of the dump (target: 3x)", "BM_ApplyEveryField", "BM_Build");
    reporter.PrintRatios("patch / diff of the same tables (target: 1.5x)", "BM_Patch", "BM_Diff");
    PrintPeakMemory();
    benchmark::Shutdown();
    return 0;
}
