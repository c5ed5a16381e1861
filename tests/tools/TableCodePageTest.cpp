// The table tool with --code-page: what build takes back, and what it and the
// JSON dump refuse.
#include "tools/TableTool.h"

#include "tests/support/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

const Args BUILD_1251 = {"build", "--code-page", "1251", "-", "-o", "-"};
const Args BUILD_1252 = {"build", "--code-page", "1252", "-", "-o", "-"};
const Args JSON_1251 = {"build", "--format", "json", "--code-page", "1251", "-", "-o", "-"};
const std::string BYTE_ORDER_MARK = "\xEF\xBB\xBF";
const std::string NOT_UTF8 = "; with --code-page, a text is read as UTF-8";

// A text dump whose slot 0 of tileset 0 holds text, from line 3, column 8; a JSON one whose name does, from column 24.
std::string Slot0(const std::string& text)
{
    return "tilesets 1\ntileset 0\nslot 0 \"" + text + "\"\n";
}

std::string JsonName(const std::string& text)
{
    return "{\"tilesets\": [{\"name\": \"" + text + "\"}]}";
}

std::string OneTileset(const std::string& name, const std::string& slot0)
{
    return Header(1, 151) + Entry(name, 0, {slot0}, 151);
}

// build's errors for standard input, each "LINE:COLUMN: MESSAGE".
std::string BuildErrors(const std::vector<std::string>& errors)
{
    std::string told;
    for (const std::string& error : errors) {
        told += "kestrivane-table: standard input:" + error + "\n";
    }
    return told + "kestrivane-table: standard output: not written: standard input has " +
           std::to_string(errors.size()) + (errors.size() == 1 ? " error\n" : " errors\n");
}

struct CodePageCase {
    const char* what;
    Args args;
    std::string input;
    TableToolExitCode code;
    std::string out;
    std::string err;
};

void PrintTo(const CodePageCase& codePageCase, std::ostream* out)
{
    *out << codePageCase.what;
}

class TableCodePage : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(TableCodePage, BuildsTheBytesOrTellsWhyNot)
{
    const ToolRun run = RunTool(GetParam().args, GetParam().input);
    EXPECT_EQ(run.code, GetParam().code);
    EXPECT_EQ(run.out, GetParam().out);
    EXPECT_EQ(run.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, TableCodePage,
    ::testing::Values(
        // A character that the dump escapes, such as the no-break space, is taken typed as itself.
        CodePageCase{"LettersEscapesAndARawNoBreakSpace", BUILD_1251, Slot0("Д\\xE4\\x98 \u00A0"), TABLE_TOOL_EXIT_OK,
                     OneTileset("", "\xC4\xE4\x98 \xA0"), ""},
        CodePageCase{"ByteOrderMark", BUILD_1252, BYTE_ORDER_MARK + Slot0("é"), TABLE_TOOL_EXIT_OK,
                     OneTileset("", "\xE9"), ""},
        CodePageCase{"JsonCharactersAndEscapes", JSON_1251, BYTE_ORDER_MARK + JsonName("\\u0434\\u00A0д"),
                     TABLE_TOOL_EXIT_OK, OneTileset("\xE4\xA0\xE4", ""), ""},
        // Named in quotes only where some code page shows the character: never a direction mark raw.
        CodePageCase{
            "CharactersNotInTheCodePage", BUILD_1252, Slot0("Łó\u202E\u0301\U0001F600"), TABLE_TOOL_EXIT_PROBLEMS, "",
            BuildErrors({"3:9: 'Ł' (U+0141) is not in code page 1252", "3:13: U+202E is not in code page 1252",
                         "3:16: U+0301 is not in code page 1252", "3:18: U+1F600 is not in code page 1252"})},
        CodePageCase{"NotUtf8", BUILD_1251, Slot0("\xC4 \xC0\x80"), TABLE_TOOL_EXIT_PROBLEMS, "",
                     BuildErrors({"3:9: byte 0xC4: a UTF-8 character cut short" + NOT_UTF8,
                                  "3:11: bytes 0xC0 0x80: an overlong UTF-8 form" + NOT_UTF8})},
        CodePageCase{"ThirtyTwoLetters", BUILD_1251, Slot0(ReplaceAll(std::string(32, '.'), ".", "Д")),
                     TABLE_TOOL_EXIT_PROBLEMS, "", BuildErrors({"3:8: a text of 32 bytes: expected at most 31"})},
        CodePageCase{"JsonCharactersAndEscapesNotInTheCodePage", JSON_1251,
                     JsonName("Ł\\u0141\\uD83D\\uDE00\\u0098\\uDE00"), TABLE_TOOL_EXIT_PROBLEMS, "",
                     BuildErrors({"1:25: tilesets[0].name: 'Ł' (U+0141) is not in code page 1251",
                                  "1:27: tilesets[0].name: 'Ł' (U+0141) is not in code page 1251",
                                  "1:33: tilesets[0].name: U+1F600 is not in code page 1251",
                                  "1:45: tilesets[0].name: U+0098 is not in code page 1251",
                                  std::string("1:51: tilesets[0].name: the lone surrogate U+DE00: expected a pair, ") +
                                      "\\uD800 to \\uDBFF then \\uDC00 to \\uDFFF"})},
        CodePageCase{"JsonUnknownKeyInItsLetters", JSON_1251, "{\"имя\\u00A0\": 1, \"tilesets\": []}",
                     TABLE_TOOL_EXIT_PROBLEMS, "",
                     BuildErrors({"1:2: \"имя\\u00A0\": unknown key: expected \"tilesets\""})},
        CodePageCase{"JsonDumpOfAByteWithoutCharacter",
                     {"dump", "--format", "json", "--code-page", "1251", "-"},
                     Header(2, 151) + Entry("", 0, {}, 151) + Entry("", 0, SlotsWith(7, "a\x98"), 151),
                     TABLE_TOOL_EXIT_FAILED,
                     "",
                     "kestrivane-table: standard input: tileset 1 slot 7: byte 0x98 has no character in code page "
                     "1251, and JSON has no escape for a byte; the text dump writes such bytes as \\xNN\n"}));

} // namespace
