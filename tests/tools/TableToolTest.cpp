#include "data/TilesetFile.h"
#include "data/TilesetTable.h"
#include "tools/CodePageTables.h"
#include "tools/DemoTable.h"
#include "tools/TableTool.h"
#include "tools/TableToolArguments.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/support/UnixLink.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>

namespace {

using Args = std::vector<std::string>;

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

struct UsageErrorCase {
    Args args;
    std::string error;
};

const std::string KNOWN_CODE_PAGES =
    "874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257 or 1258 (the Windows ANSI code pages)";

void PrintTo(const UsageErrorCase& usageCase, std::ostream* out)
{
    *out << usageCase.error;
}

class TableToolUsageError : public ::testing::TestWithParam<UsageErrorCase> {};

TEST_P(TableToolUsageError, PrintsTheErrorAndTheUsageAndExitsWithTwo)
{
    const ToolRun run = RunTool(GetParam().args);
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_FAILED);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kestrivane-table: " + GetParam().error + "\n\n" + TableTool::Usage());
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, TableToolUsageError,
    ::testing::Values(
        UsageErrorCase{{}, "no command given"}, UsageErrorCase{{"list"}, "unknown command \"list\""},
        UsageErrorCase{{"--format", "json"}, "unknown command \"--format\""},
        UsageErrorCase{{"dump", "--format"}, "--format takes text, json or csv"},
        UsageErrorCase{{"dump", "--format", "xml"}, "--format takes text, json or csv"},
        UsageErrorCase{{"check", "--format", "json"}, "unknown option \"--format\" for check"},
        UsageErrorCase{{"check", "-v"}, "unknown option \"-v\" for check"},
        UsageErrorCase{{"dump", "a.dat", "b.dat"}, "more than one FILE given"},
        UsageErrorCase{{"demo"}, "demo needs the FILE to write"}, UsageErrorCase{{"build"}, "build needs one INPUT"},
        UsageErrorCase{{"build", "a.txt", "b.txt"}, "build needs one INPUT"},
        UsageErrorCase{{"build", "a.txt", "-o"}, "-o takes the FILE to write"},
        UsageErrorCase{{"dump", "-o", "x.dat"}, "unknown option \"-o\" for dump"},
        UsageErrorCase{{"diff", "a.dat"}, "diff needs the two files A and B"},
        UsageErrorCase{{"diff", "--format", "json", "a.dat", "b.dat"}, "unknown option \"--format\" for diff"},
        UsageErrorCase{{"merge", "a.dat", "b.dat"}, "merge needs the three files BASE, OURS and THEIRS"},
        UsageErrorCase{{"\x1B]0;title\x07"}, "unknown command \"\\x1B]0;title\\x07\""},
        UsageErrorCase{{"diff", "-", "-"}, "standard input (-) is given twice; it can be read only once"},
        UsageErrorCase{{"dump", "--textconv", "--format", "json"},
                       "--textconv shows the text dump: it cannot be given with --format json or csv"},
        UsageErrorCase{{"dump", "--textconv=yes"}, "--textconv takes no value"},
        UsageErrorCase{{"dump", "--format=xml"}, "--format takes text, json or csv"},
        UsageErrorCase{{"dump", "--code-page="}, "code page \"\": expected " + KNOWN_CODE_PAGES},
        UsageErrorCase{{"check", "--textconv"}, "unknown option \"--textconv\" for check"},
        UsageErrorCase{{"dump", "--code-page"}, "--code-page takes " + KNOWN_CODE_PAGES},
        UsageErrorCase{{"diff", "--code-page", "65001", "a", "b"},
                       "code page \"65001\": expected " + KNOWN_CODE_PAGES},
        UsageErrorCase{{"check", "--code-page", "1251"}, "unknown option \"--code-page\" for check"},
        UsageErrorCase{{"view", "a.dat", "b.dat"}, "more than one FILE given"},
        UsageErrorCase{{"view", "--base"}, "--base takes the table to compare with"},
        UsageErrorCase{{"view", "--base", "-", "-"}, "standard input (-) is given twice; it can be read only once"},
        UsageErrorCase{{"diff", "--base", "a", "b"}, "unknown option \"--base\" for diff"},
        UsageErrorCase{{"apply"}, "apply needs at least one PATCH"},
        UsageErrorCase{{"apply", "a.patch", "-t"}, "-t takes the TABLE to apply the patches onto"},
        UsageErrorCase{{"apply", "-t", "-", "-"}, "standard input (-) is given twice; it can be read only once"},
        UsageErrorCase{{"merge", "--check", "a", "b", "c"}, "unknown option \"--check\" for merge"},
        UsageErrorCase{{"patch", "a.dat"}, "patch needs the two tables BASE and CHANGED"},
        UsageErrorCase{{"patch", "--reverse", "a.dat", "b.dat"}, "unknown option \"--reverse\" for patch"}));

TEST(TableToolHelp, PrintsTheUsageToOutputAndExitsWithZero)
{
    for (const Args& args : {Args{"help"}, Args{"--help"}, Args{"dump", "-h"}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.code, TABLE_TOOL_EXIT_OK) << args[0];
        EXPECT_EQ(run.out, TableTool::Usage());
        EXPECT_EQ(run.err, "");
    }
}

TEST(TableToolArguments, FileDefaultsToTheTableInTheCurrentFolder)
{
    for (const Args& args :
         {Args{"dump"}, Args{"check"}, Args{"dump", "--format", "json"}, Args{"view", "--base", "old.dat"}}) {
        EXPECT_EQ(TableToolArguments::Parse(args).files, std::vector<std::string>{"qx7set.dat"});
    }
    EXPECT_EQ(TableToolArguments::Parse({"view"}).output, "-");
}

TEST(TableToolArguments, TakeTheFileAndTheFormatInEitherOrder)
{
    for (const Args& args : {Args{"dump", "--format", "json", "x.dat"}, Args{"dump", "x.dat", "--format", "json"},
                             Args{"dump", "--format=json", "x.dat"}}) {
        const TableToolArguments arguments = TableToolArguments::Parse(args);
        EXPECT_EQ(arguments.command, TABLE_TOOL_DUMP);
        EXPECT_EQ(arguments.format, TABLE_DUMP_JSON);
        EXPECT_EQ(arguments.files, std::vector<std::string>{"x.dat"});
    }
    EXPECT_EQ(TableToolArguments::Parse({"dump", "--format", "text", "-"}).files, std::vector<std::string>{"-"});
    EXPECT_EQ(TableToolArguments::Parse({"dump", "--format", "text"}).format, TABLE_DUMP_TEXT);
    EXPECT_EQ(TableToolArguments::Parse({"diff", "--code-page=1251", "a", "b"}).codePage->number, 1251);
}

// Each command that reads a table refuses a file the editor would not load,
// names it with the reason, and writes nothing. In what is told, DIR/ stands
// for the folder's path; a merge names each table by its role first.
TEST(TableToolFiles, UnloadableFileIsNamedWithTheReasonAndExitsWithTwo)
{
    const TemporaryFolder folder;
    WriteFileBytes(folder.Path("wide.dat"), Header(1, 152) + Entry("Wide", 0, {}, 152));
    WriteFileBytes(folder.Path("empty.dat"), "");
    const std::string wide = ": has 152 slots per tileset, more than the 151 a tileset holds\n";
    const struct {
        Args args;
        std::string told;
    } cases[] = {
        {{"dump", "missing.dat"}, "DIR/missing.dat: no such file\n"},
        {{"check", "missing.dat"}, "DIR/missing.dat: no such file\n"},
        {{"dump", ""}, "DIR/: is a folder, not a file\n"},
        {{"check", ""}, "DIR/: is a folder, not a file\n"},
        {{"demo", ""}, "DIR/: is a folder, not a file\n"},
        {{"dump", "wide.dat"}, "DIR/wide.dat" + wide},
        {{"merge", "missing.dat", "wide.dat", "empty.dat"}, "BASE (DIR/missing.dat): no such file\n"},
        {{"merge", "empty.dat", "wide.dat", "empty.dat"}, "OURS (DIR/wide.dat)" + wide},
        {{"merge", "empty.dat", "empty.dat", "wide.dat"}, "THEIRS (DIR/wide.dat)" + wide},
        {{"view", "wide.dat"}, "DIR/wide.dat" + wide},
        {{"view", "--base", "wide.dat", "empty.dat", "-o", "page.html"}, "DIR/wide.dat" + wide},
        {{"view", "--base", "empty.dat", "missing.dat", "-o", "page.html"}, "DIR/missing.dat: no such file\n"},
    };
    for (const auto& loadCase : cases) {
        Args args = loadCase.args;
        std::transform(args.begin() + 1, args.end(), args.begin() + 1, [&folder](const std::string& word) {
            return word.size() > 1 && word[0] == '-' ? word : folder.Path(word);
        });
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.code, TABLE_TOOL_EXIT_FAILED) << loadCase.told;
        EXPECT_EQ(run.out, "") << loadCase.told;
        EXPECT_EQ(run.err, "kestrivane-table: " + ReplaceAll(loadCase.told, "DIR/", folder.Path("")));
    }
    EXPECT_EQ(ReadFileBytes(folder.Path("wide.dat")), Header(1, 152) + Entry("Wide", 0, {}, 152));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("page.html")));
}

// The process's own memory, whose first page is never mapped: the file opens,
// and its first read fails.
TEST(TableToolFiles, ReadErrorIsToldAndExitsWithTwo)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("unreadable.dat");
#ifdef _WIN32
    const UnixLink link(folder.Path(), "/proc/self/mem", "unreadable.dat");
    if (!link.Made()) {
        GTEST_SKIP() << "no Linux symbolic link: making one needs Wine's start of Linux programs";
    }
#else
    std::filesystem::create_symlink("/proc/self/mem", path);
#endif
    for (const Args& args : {Args{"dump", path}, Args{"check", path}, Args{"build", path, "-o", folder.Path("out")}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.code, TABLE_TOOL_EXIT_FAILED) << args[0];
        EXPECT_EQ(run.err, "kestrivane-table: " + path + ": reading failed\n") << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out")));
}

TEST(TableToolFiles, FailedOutputExitsWithTwo)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("table.dat");
    WriteFileBytes(path, EveryKindOfByteFile());
    std::istringstream in;
    std::ostream out(nullptr);
    std::ostringstream err;
    EXPECT_EQ(TableTool::Run({"dump", path}, in, out, err), TABLE_TOOL_EXIT_FAILED);
    EXPECT_EQ(err.str(), "kestrivane-table: writing to standard output failed\n");
}

TEST(TableToolDump, WritesTheTableAsTextOrJson)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("table.dat");
    WriteFileBytes(path, EveryKindOfByteFile());

    const ToolRun text = RunTool({"dump", path});
    EXPECT_EQ(text.code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(text.out, ExpectedOutput("every-byte.txt"));
    EXPECT_EQ(text.err, "");
    const ToolRun json = RunTool({"dump", "--format", "json", path});
    EXPECT_EQ(json.code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(json.out, ExpectedOutput("every-byte.json"));
}

TEST(TableToolDump, ShowsTilesetsCutOffByTheEndOfTheFileAsEmptyLikeTheEditor)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("cut.dat");
    WriteFileBytes(path, Header(2, 151) + Entry("Moor", 7, {"peat"}, 151) + "Cut");

    const ToolRun run = RunTool({"dump", path});
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(run.out, "tilesets 2\n\ntileset 0\n  name \"Moor\"\n  ambient 7\n  slot 0 \"peat\"\n"
                       "\ntileset 1\n  name \"\"\n  ambient 0\n");
}

TEST(TableToolCheck, ReportsEachProblemWithTheFileAndOffsetAndExitsWithOne)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("problems.dat");
    WriteFileBytes(path, EveryProblemFile());

    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_PROBLEMS);
    EXPECT_EQ(ReplaceAll(run.out, path, "problems.dat"), ExpectedOutput("problems.txt"));
    EXPECT_EQ(run.err, "");
}

TEST(TableToolCheck, DescribesShortFilesFewerSlotsAndTrailingBytes)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("t.dat");
    const struct {
        std::string bytes;
        std::string report;
    } cases[] = {
        {"", ": offset 0 (0x0): the file is empty\n"},
        {"\x01\x97", ": offset 0 (0x0): the file ends inside the header, after 2 bytes of 5\n"},
        {Header(1, 1) + Entry("a", 0, {}, 1) + "z",
         ": offset 1 (0x1): the header declares 1 slot per tileset, not 151; the editor saves 151\n"
         ": offset 70 (0x46): 1 byte follows the last entry\n"},
        {Header(1, 151), ": offset 0 (0x0): the header declares 1 tileset, but the file holds 0 whole entries\n"},
    };
    for (const auto& checkCase : cases) {
        WriteFileBytes(path, checkCase.bytes);
        const ToolRun run = RunTool({"check", path});
        EXPECT_EQ(run.code, TABLE_TOOL_EXIT_PROBLEMS);
        EXPECT_EQ(ReplaceAll(run.out, path, ""), checkCase.report);
    }
}

TEST(TableToolDemo, WritesTheDemoTableThatCheckFindsSound)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("demo.dat");
    const ToolRun demo = RunTool({"demo", path});
    EXPECT_EQ(demo.code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(demo.err, "");

    TilesetTable expected;
    DemoTable::Fill(expected);
    EXPECT_EQ(ReadFileBytes(path), WriteBytes(expected));
    EXPECT_EQ(RunTool({"check", path}).code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(RunTool({"dump", path}).out, ExpectedOutput("demo.txt"));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"demo.dat"});
}

TEST(TableToolDemo, LeavesAnExistingFileAsItWas)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, "someone's table");

    const ToolRun run = RunTool({"demo", path});
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_FAILED);
    EXPECT_EQ(run.err, "kestrivane-table: " + path + ": already exists; demo writes only a new file\n");
    EXPECT_EQ(ReadFileBytes(path), "someone's table");
}

TEST(TableToolDemo, NamesTheFileItCannotWrite)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("no-such-folder/demo.dat");

    const ToolRun run = RunTool({"demo", path});
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_FAILED);
    EXPECT_TRUE(StartsWith(run.err, "kestrivane-table: " + path + ": could not be written: ")) << run.err;
}

TEST(TableToolBuild, ErrorsLeaveTheOldFileAndAGoodInputReplacesItWithNothingElseLeft)
{
    const TemporaryFolder folder;
    const std::string input = folder.Path("table.txt");
    const std::string output = folder.Path("out.dat");
    WriteFileBytes(output, "old table");
    WriteFileBytes(input, "tilesets 1\ntileset 0\nambient 256\n");

    const ToolRun refused = RunTool({"build", input, "-o", output});
    EXPECT_EQ(refused.code, TABLE_TOOL_EXIT_PROBLEMS);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "kestrivane-table: " + input +
                               ":3:9: ambient number 256: expected 0 to 255\n"
                               "kestrivane-table: " +
                               output + ": not written: " + input + " has 1 error\n");
    EXPECT_EQ(ReadFileBytes(output), "old table");

    WriteFileBytes(input, "tilesets 1\ntileset 0\nambient 255\n");
    const ToolRun built = RunTool({"build", input, "-o", output});
    EXPECT_EQ(built.code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(built.err, "");
    TilesetTable expected;
    expected.SetRecordCount(1);
    expected.RecordAt(0).ambient = 255;
    EXPECT_EQ(ReadFileBytes(output), WriteBytes(expected));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"out.dat", "table.txt"}));
}

TEST(TableToolBuild, ReadOnlyOutputIsRefusedWithTheEditorsReasonAndExitsWithTwo)
{
    const TemporaryFolder folder;
    const std::string input = folder.Path("table.txt");
    const std::string output = folder.Path("out.dat");
    WriteFileBytes(input, "tilesets 0\n");
    WriteFileBytes(output, "old table");
    MakeReadOnly(output);

    const ToolRun run = RunTool({"build", input, "-o", output});
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_FAILED);
    EXPECT_EQ(run.err, "kestrivane-table: " + output + ": could not be written: the file is read-only\n");
    EXPECT_EQ(ReadFileBytes(output), "old table");
}

TEST(TableToolBuild, TellsTheFirstHundredErrorsInOrderThenHowManyMore)
{
    std::string input = "tilesets 1\n";
    for (int line = 2; line <= 151; ++line) {
        input += "x" + std::to_string(line) + "\n";
    }
    const ToolRun run = RunTool({"build", "-", "-o", "-"}, input);
    EXPECT_EQ(run.code, TABLE_TOOL_EXIT_PROBLEMS);
    EXPECT_EQ(run.out, "");
    const std::string expected = ": expected tilesets, tileset, name, ambient or slot\n";
    EXPECT_TRUE(StartsWith(run.err, "kestrivane-table: standard input:2:1: unknown line \"x2\"" + expected));
    const std::string last = "kestrivane-table: standard input:101:1: unknown line \"x101\"" + expected +
                             "kestrivane-table: standard input: 50 more errors after these\n"
                             "kestrivane-table: standard output: not written: standard input has 150 errors\n";
    EXPECT_EQ(run.err.substr(run.err.size() - last.size()), last);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 102);
}

TilesetTable DemoWith(int tileset, int slot, const std::string& text)
{
    TilesetTable table;
    DemoTable::Fill(table);
    SetSlot(table.RecordAt(tileset), slot, text);
    return table;
}

// "-" is standard input where a file is read, and standard output where one is
// written. "DEMO" in the arguments is a file holding the demo table, "MERE" one
// with the demo's slot "pond" renamed "mere".
TEST(TableToolStandardStreams, StandForTheFileNamedDash)
{
    const TemporaryFolder folder;
    WriteFileBytes(folder.Path("demo.dat"), DemoFileBytes());
    WriteFileBytes(folder.Path("mere.dat"), WriteBytes(DemoWith(0, 10, "mere")));
    const std::string lake = WriteBytes(DemoWith(0, 10, "lake"));
    const struct {
        Args args;
        std::string input;
        TableToolExitCode code;
        std::string out;
        std::string err;
    } cases[] = {
        {{"dump", "-"}, DemoFileBytes(), TABLE_TOOL_EXIT_OK, ExpectedOutput("demo.txt"), ""},
        {{"check", "-"},
         Header(0, 151) + "xy",
         TABLE_TOOL_EXIT_PROBLEMS,
         "standard input: offset 5 (0x5): 2 bytes follow the last entry\n",
         ""},
        {{"build", "-", "-o", "-"},
         "tilesets 1\ntileset 0\nslot 10 \"lake\"\n",
         TABLE_TOOL_EXIT_OK,
         Header(1, 151) + Entry("", 0, SlotsWith(10, "lake"), 151),
         ""},
        {{"build", "-", "-o", "-"},
         "tilesets 256\n",
         TABLE_TOOL_EXIT_PROBLEMS,
         "",
         "kestrivane-table: standard input:1:10: 256 tilesets: a table holds at most 255\n"
         "kestrivane-table: standard output: not written: standard input has 1 error\n"},
        {{"diff", "DEMO", "-"}, lake, TABLE_TOOL_EXIT_PROBLEMS, "tileset 0 slot 10: \"pond\" -> \"lake\"\n", ""},
        {{"merge", "DEMO", "DEMO", "-", "-o", "-"}, lake, TABLE_TOOL_EXIT_OK, lake, ""},
        {{"merge", "DEMO", "-", "MERE", "-o", "-"},
         lake,
         TABLE_TOOL_EXIT_PROBLEMS,
         lake,
         "conflict: tileset 0 slot 10: base \"pond\", ours \"lake\", theirs \"mere\"\n"},
        {{"demo", "-"}, "", TABLE_TOOL_EXIT_OK, DemoFileBytes(), ""},
        {{"dump", "-"},
         Header(1, 152),
         TABLE_TOOL_EXIT_FAILED,
         "",
         "kestrivane-table: standard input: has 152 slots per tileset, more than the 151 a tileset holds\n"},
    };
    for (const auto& streamCase : cases) {
        Args args = streamCase.args;
        std::replace(args.begin(), args.end(), std::string("DEMO"), folder.Path("demo.dat"));
        std::replace(args.begin(), args.end(), std::string("MERE"), folder.Path("mere.dat"));
        const ToolRun run = RunTool(args, streamCase.input);
        EXPECT_EQ(run.code, streamCase.code) << args[0];
        EXPECT_EQ(run.out, streamCase.out) << args[0];
        EXPECT_EQ(run.err, streamCase.err) << args[0];
    }
}

// For git: text and exit code 0 for every file, whatever it holds.
TEST(TableToolTextconv, ShowsTheProblemsAndWhatCanBeShownAndSucceeds)
{
    const TemporaryFolder folder;
    const struct {
        std::optional<std::string> bytes;
        std::string out;
    } cases[] = {
        {DemoFileBytes(), ExpectedOutput("demo.txt")},
        {"", "problem: offset 0 (0x0): the file is empty\ntilesets 0\n"},
        {std::nullopt, "the table cannot be read: no such file\n"},
        {Header(2, 152) + Entry("Wide", 7, SlotsWith(151, "last"), 152) + "C\xE9",
         "problem: offset 0 (0x0): the header declares 2 tilesets, but the file holds 1 whole entry\n"
         "problem: offset 1 (0x1): the header declares 152 slots per tileset, more than the 151 a tileset holds; "
         "the editor refuses the file\n"
         "problem: offset 4902 (0x1326): tileset 1 is cut short: the file ends after 2 bytes of its 4897\n"
         "tilesets 2\n\ntileset 0\n  name \"Wide\"\n  ambient 7\n  slot 151 \"last\"\n"},
    };
    for (const auto& textconvCase : cases) {
        const std::string path = folder.Path(textconvCase.bytes ? "table.dat" : "missing.dat");
        if (textconvCase.bytes) {
            WriteFileBytes(path, *textconvCase.bytes);
        }
        const ToolRun run = RunTool({"dump", "--textconv", path});
        EXPECT_EQ(run.code, TABLE_TOOL_EXIT_OK);
        EXPECT_EQ(run.out, textconvCase.out);
        EXPECT_EQ(run.err, "");
    }
}

// What the editor should be tried on, whatever the demo's texts are.
TEST(DemoTable, HasNamedTilesetsFilledAndEmptySlotsUpperBytesAndAmbient255)
{
    TilesetTable table;
    DemoTable::Fill(table);
    bool upperByteInName = false;
    bool upperByteInSlot = false;
    bool ambient255 = false;
    bool filledSlot = false;
    for (int i = 0; i < table.RecordCount(); ++i) {
        const TilesetRecord& record = table.RecordAt(i);
        EXPECT_FALSE(NameOf(record).empty()) << i;
        int filled = 0;
        for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
            filled += record.slots[slot][0] != '\0';
            for (int k = 0; record.slots[slot][k] != '\0'; ++k) {
                upperByteInSlot |= static_cast<unsigned char>(record.slots[slot][k]) >= 0x80;
            }
        }
        EXPECT_LT(filled, SLOTS_PER_TILESET) << i;
        filledSlot |= filled > 0;
        for (const char byte : NameOf(record)) {
            upperByteInName |= static_cast<unsigned char>(byte) >= 0x80;
        }
        ambient255 |= record.ambient == 255;
    }
    EXPECT_GE(table.RecordCount(), 3);
    EXPECT_TRUE(upperByteInName);
    EXPECT_TRUE(upperByteInSlot);
    EXPECT_TRUE(ambient255);
    EXPECT_TRUE(filledSlot);
}

} // namespace
