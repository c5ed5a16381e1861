// The table tool's commands with --code-page: the dumps in UTF-8, what build
// takes back and refuses, and diff and merge lines in the code page's letters.
#include "data/TilesetTable.h"
#include "tools/DemoTable.h"
#include "tools/TableDiff.h"
#include "tools/TableMerge.h"
#include "tools/TableTool.h"

#include "tests/support/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

const Args BUILD_1251 = {"build", "--code-page", "1251", "-", "-o", "-"};
const Args BUILD_1252 = {"build", "--code-page", "1252", "-", "-o", "-"};
const Args BUILD_JSON_1251 = {"build", "--format", "json", "--code-page", "1251", "-", "-o", "-"};

// A text dump whose slot 0 of tileset 0 holds text, from line 3, column 8.
std::string Slot0(const std::string& text)
{
    return "tilesets 1\ntileset 0\nslot 0 \"" + text + "\"\n";
}

std::string JsonName(const std::string& text)
{
    return "{\"tilesets\": [{\"name\": \"" + text + "\"}]}";
}

// build's errors for standard input, each "LINE:COLUMN: MESSAGE".
std::string BuildErrors(const std::vector<std::string>& errors)
{
    std::string told;
    for (const std::string& error : errors) {
        told += "kestrivane-table: standard input:" + error + "\n";
    }
    return told + "kestrivane-table: -: not written: standard input has " + std::to_string(errors.size()) +
           (errors.size() == 1 ? " error\n" : " errors\n");
}

std::string UsageError(const std::string& error)
{
    return "kestrivane-table: " + error + "\n\n" + TableTool::Usage();
}

const std::string NOT_UTF8 = "; with --code-page, a text is read as UTF-8";
const std::string KNOWN = "874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257 or 1258 (the Windows ANSI code pages)";

struct ErrorCase {
    const char* what;
    Args args;
    std::string input;
    TableToolExitCode code;
    std::string err;
};

void PrintTo(const ErrorCase& errorCase, std::ostream* out)
{
    *out << errorCase.what;
}

class TableCodePageError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TableCodePageError, IsToldAndNothingIsWritten)
{
    const ToolRun run = RunTool(GetParam().args, GetParam().input);
    EXPECT_EQ(run.code, GetParam().code);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, TableCodePageError,
    ::testing::Values(
        ErrorCase{"CharactersNotInTheCodePage", BUILD_1252, Slot0("Łódź"), TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"3:9: 'Ł' (U+0141) is not in code page 1252",
                               "3:14: 'ź' (U+017A) is not in code page 1252"})},
        ErrorCase{"InvisibleCharactersNamedByNumberOnly", BUILD_1251, Slot0("a\u202E\u0301\U0001F600"),
                  TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"3:10: U+202E is not in code page 1251", "3:13: U+0301 is not in code page 1251",
                               "3:15: U+1F600 is not in code page 1251"})},
        ErrorCase{"TextSavedInTheCodePageItself", BUILD_1251, Slot0("\xC4"), TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"3:9: byte 0xC4: a UTF-8 character cut short" + NOT_UTF8})},
        ErrorCase{"OverlongForm", BUILD_1251, Slot0("a\xC0\x80"), TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"3:10: bytes 0xC0 0x80: an overlong UTF-8 form" + NOT_UTF8})},
        ErrorCase{"ThirtyTwoLetters", BUILD_1251, Slot0(ReplaceAll(std::string(32, '.'), ".", "Д")),
                  TABLE_TOOL_EXIT_PROBLEMS, BuildErrors({"3:8: a text of 32 bytes: expected at most 31"})},
        ErrorCase{"JsonCharactersAndEscapesNotInTheCodePage", BUILD_JSON_1251,
                  JsonName("Ł\\u0141\\uD83D\\uDE00\\u0098\\uDE00"), TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"1:25: 'Ł' (U+0141) is not in code page 1251",
                               "1:27: 'Ł' (U+0141) is not in code page 1251", "1:33: U+1F600 is not in code page 1251",
                               "1:45: U+0098 is not in code page 1251",
                               "1:51: the lone surrogate U+DE00: expected a pair, \\uD800 to \\uDBFF then \\uDC00 to "
                               "\\uDFFF"})},
        ErrorCase{"JsonNotUtf8", BUILD_JSON_1251, JsonName("\xC4"), TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"1:25: bytes that are not UTF-8 in a string"})},
        ErrorCase{"JsonUnknownKeyInItsLetters", BUILD_JSON_1251, "{\"имя\\u00A0\": 1, \"tilesets\": []}",
                  TABLE_TOOL_EXIT_PROBLEMS,
                  BuildErrors({"1:2: \"имя\\u00A0\": unknown key: expected \"tilesets\""})},
        ErrorCase{"JsonDumpOfAByteWithoutCharacter", {"dump", "--format", "json", "--code-page", "1251", "-"},
                  Header(2, 151) + Entry("", 0, {}, 151) + Entry("", 0, SlotsWith(7, "a\x98"), 151),
                  TABLE_TOOL_EXIT_FAILED,
                  "kestrivane-table: standard input: tileset 1 slot 7: byte 0x98 has no character in code page "
                  "1251, and JSON has no escape for a byte; the text dump writes such bytes as \\xNN\n"},
        ErrorCase{"NoCodePageGiven", {"dump", "--code-page"}, "", TABLE_TOOL_EXIT_FAILED,
                  UsageError("--code-page takes " + KNOWN)},
        ErrorCase{"UnknownCodePage", {"diff", "--code-page", "65001", "a", "b"}, "", TABLE_TOOL_EXIT_FAILED,
                  UsageError("code page \"65001\": expected " + KNOWN)},
        ErrorCase{"CodePageForCheck", {"check", "--code-page", "1251"}, "", TABLE_TOOL_EXIT_FAILED,
                  UsageError("unknown option \"--code-page\" for check")}));

TEST(TableCodePage, BuildTakesCharactersEscapesAndAByteOrderMark)
{
    const struct {
        Args args;
        std::string input;
        std::string slot;
    } cases[] = {
        {BUILD_1251, Slot0("Д\\xE4\\x98"), "\xC4\xE4\x98"},
        // A character the dump escapes, typed as itself: a no-break space.
        {BUILD_1251, Slot0("a\u00A0b"), "a\xA0" "b"},
        {BUILD_1251, Slot0(ReplaceAll(std::string(31, '.'), ".", "я")), std::string(31, '\xFF')},
        {BUILD_1252, "\xEF\xBB\xBF" + Slot0("é"), "\xE9"},
        {BUILD_JSON_1251, "\xEF\xBB\xBF{\"tilesets\": [{\"slots\": [{\"index\": 0, \"text\": \"\\u0434\\u00A0д\"}]}]}",
         "\xE4\xA0\xE4"},
    };
    for (const auto& buildCase : cases) {
        const ToolRun run = RunTool(buildCase.args, buildCase.input);
        EXPECT_EQ(run.err, "") << buildCase.input;
        EXPECT_EQ(run.out, Header(1, 151) + Entry("", 0, {buildCase.slot}, 151)) << buildCase.input;
    }
}

TEST(TableCodePage, DumpsMatchTheExpectedOutputs)
{
    const struct {
        std::string bytes;
        Args args;
        const char* expected;
    } cases[] = {
        {EveryKindOfByteFile(), {"dump", "--code-page", "1251", "-"}, "every-byte-1251.txt"},
        {DemoFileBytes(), {"dump", "--code-page", "1252", "-"}, "demo-1252.txt"},
        {DemoFileBytes(), {"dump", "--format", "json", "--code-page", "1252", "-"}, "demo-1252.json"},
        {DemoFileBytes(), {"dump", "--textconv", "--code-page", "1252", "-"}, "demo-1252.txt"},
    };
    for (const auto& dumpCase : cases) {
        const ToolRun run = RunTool(dumpCase.args, dumpCase.bytes);
        EXPECT_EQ(run.code, TABLE_TOOL_EXIT_OK) << dumpCase.expected;
        EXPECT_EQ(run.out, ExpectedOutput(dumpCase.expected));
    }
}

TEST(TableCodePage, DiffAndMergeShowTheLettersOfTheCodePage)
{
    const CodePageTable& page = Page("1251");
    TilesetTable base;
    DemoTable::Fill(base);
    TilesetTable ours = base;
    SetSlot(ours.RecordAt(0), 1, "\xF6\xE2\xE5\xF2\xFB");
    TilesetTable theirs = base;
    SetSlot(theirs.RecordAt(0), 1, "\xF0\xEE\xE7\xFB\xA0");

    EXPECT_EQ(TableDiff::Lines(base, ours, &page),
              std::vector<std::string>{"tileset 0 slot 1: \"flowers\" -> \"цветы\""});
    TilesetTable merged;
    EXPECT_EQ(TableMerge::Merge(base, ours, theirs, &page, merged),
              std::vector<std::string>{
                  "conflict: tileset 0 slot 1: base \"flowers\", ours \"цветы\", theirs \"розы\\xA0\""});
    EXPECT_EQ(WriteBytes(merged), WriteBytes(ours));
}

} // namespace
