#include "data/TilesetTable.h"
#include "tools/TableBuilder.h"
#include "tools/TableCsv.h"
#include "tools/TableJson.h"
#include "tools/TableText.h"

#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

namespace {

struct Built {
    std::string errors;
    std::string bytes;
};

using Reader = void (*)(const std::string&, const CodePageTable*, TableBuilder&);

// The errors one a line as build prints them, and the bytes of the table when there were none.
Built BuildWith(Reader read, const std::string& input)
{
    TableBuilder builder;
    read(input, nullptr, builder);
    Built built;
    for (const TableInputError& error : builder.Errors()) {
        built.errors += error.Describe("in") + "\n";
    }
    if (built.errors.empty()) {
        built.bytes = WriteBytes(builder.Table());
    }
    return built;
}

Built BuildFrom(const std::string& input, bool json)
{
    return BuildWith(json ? TableJson::Read : TableText::Read, input);
}

struct InputCase {
    const char* what;
    std::string input;
    std::string errors;
};

void PrintTo(const InputCase& inputCase, std::ostream* out)
{
    *out << inputCase.what;
}

class TextInputError : public ::testing::TestWithParam<InputCase> {};

TEST_P(TextInputError, IsNamedWithItsLineAndColumnAndNothingIsBuilt)
{
    const Built built = BuildFrom(GetParam().input, false);
    EXPECT_EQ(built.errors, GetParam().errors);
    EXPECT_EQ(built.bytes, "");
}

const std::string TILESET_0 = "tilesets 1\ntileset 0\n";

INSTANTIATE_TEST_SUITE_P(
    Dumps, TextInputError,
    ::testing::Values(
        InputCase{"TextOf32Bytes", TILESET_0 + "  slot 0 \"" + std::string(32, 'a') + "\"\n",
                  "in:3:10: a text of 32 bytes: expected at most 31\n"},
        InputCase{"NameOf32BytesFromEscapes", TILESET_0 + "name \"" + std::string(31, 'n') + "\\xFF\"\n",
                  "in:3:6: a text of 32 bytes: expected at most 31\n"},
        InputCase{"AmbientAbove255", TILESET_0 + "  ambient 256\n",
                  "in:3:11: ambient number 256: expected 0 to 255\n"},
        InputCase{"SlotAbove150", TILESET_0 + "  slot 151 \"x\"\n",
                  "in:3:8: slot 151: a tileset has slots 0 to 150\n"},
        InputCase{"RepeatedSlot", TILESET_0 + "slot 4 \"a\"\nslot 4 \"b\"\n",
                  "in:4:6: slot 4 of tileset 0 is given twice, first on line 3\n"},
        InputCase{"RepeatedSlotAfterANulInIt", TILESET_0 + "slot 4 \"a\\x00\"\nslot 4 \"b\"\n",
                  "in:3:8: a text with a NUL byte in it: a text ends at its first NUL\n"
                  "in:4:6: slot 4 of tileset 0 is given twice, first on line 3\n"},
        InputCase{"RepeatedAmbientAfterOneAbove255", TILESET_0 + "ambient 256\nambient 1\n",
                  "in:3:9: ambient number 256: expected 0 to 255\n"
                  "in:4:9: the ambient number of tileset 0 is given twice, first on line 3\n"},
        InputCase{"RepeatedTileset", TILESET_0 + "tileset 0\n", "in:3:9: tileset 0 is given twice, first on line 2\n"},
        InputCase{"RepeatedName", TILESET_0 + "name \"a\"\nname \"b\"\n",
                  "in:4:6: the name of tileset 0 is given twice, first on line 3\n"},
        InputCase{"RepeatedNameAfterALongOne", TILESET_0 + "name \"" + std::string(32, 'n') + "\"\nname \"b\"\n",
                  "in:3:6: a text of 32 bytes: expected at most 31\n"
                  "in:4:6: the name of tileset 0 is given twice, first on line 3\n"},
        InputCase{"MoreThan255Tilesets", "tilesets 256\n", "in:1:10: 256 tilesets: a table holds at most 255\n"},
        InputCase{"TilesetBeyondTheCount", "tilesets 2\ntileset 2\n",
                  "in:2:9: tileset 2 is beyond the count: the table has 2 tilesets, 0 to 1\n"},
        InputCase{"TilesetOfAnEmptyTable", "tilesets 0\ntileset 0\n",
                  "in:2:9: tileset 0 is beyond the count: the table has 0 tilesets\n"},
        InputCase{"TilesetAbove254", "tilesets 999\ntileset 300\n",
                  "in:1:10: 999 tilesets: a table holds at most 255\n"
                  "in:2:9: tileset 300: a table holds at most 255 tilesets, 0 to 254\n"},
        InputCase{"BadEscape", TILESET_0 + "slot 0 \"a\\tb\"\n",
                  "in:3:10: bad escape \"\\\\t\": expected \\xNN (two hexadecimal digits), \\\" or \\\\\n"},
        InputCase{"EscapeWithOneDigit", TILESET_0 + "slot 0 \"\\x4\"\n",
                  "in:3:9: bad escape \"\\\\x4\": expected \\xNN (two hexadecimal digits), \\\" or \\\\\n"},
        InputCase{"EscapeAtTheEndOfTheLine", TILESET_0 + "slot 0 \"\\",
                  "in:3:9: bad escape \"\\\\\": expected \\xNN (two hexadecimal digits), \\\" or \\\\\n"},
        InputCase{"NulFromAnEscape", TILESET_0 + "slot 0 \"a\\x00b\"\n",
                  "in:3:8: a text with a NUL byte in it: a text ends at its first NUL\n"},
        InputCase{"ByteOutsidePrintableAscii", TILESET_0 + "slot 0 \"caf\xC3\xA9\"\n",
                  "in:3:12: byte 0xC3 in a text: expected printable ASCII, other bytes as \\xC3\n"},
        InputCase{"UnterminatedText", TILESET_0 + "name \"open\n", "in:3:6: the text has no closing quote\n"},
        InputCase{"TextWithoutQuotes", TILESET_0 + "name grass\n",
                  "in:3:6: expected a text in quotes, found \"grass\"\n"},
        InputCase{"UnknownLine", TILESET_0 + "  colour 3\n",
                  "in:3:3: unknown line \"colour\": expected tilesets, tileset, name, ambient or slot\n"},
        InputCase{"NotANumber", TILESET_0 + "ambient -1\nslot x \"a\"\n",
                  "in:3:9: expected the ambient number (a number), found \"-1\"\n"
                  "in:4:6: expected the slot's index (a number), found \"x\"\n"},
        InputCase{"HugeNumber", TILESET_0 + "ambient 99999999999999999999999\n",
                  "in:3:9: ambient number 99999999999999999999999: expected 0 to 255\n"},
        InputCase{"MissingValue", TILESET_0 + "tileset\n",
                  "in:3:8: expected the tileset's index (a number), found nothing\n"},
        InputCase{"MoreOnTheLine", TILESET_0 + "slot 1 \"a\" \"b\"\n",
                  "in:3:12: expected the end of the line, found \"\\\"b\\\"\"\n"},
        InputCase{"NoCountFirst", "tileset 0\nname \"a\"\n", "in:1:1: expected \"tilesets COUNT\" first\n"},
        InputCase{"ValueOutsideATileset", "tilesets 1\nambient 3\n",
                  "in:2:9: ambient outside a tileset: expected \"tileset INDEX\" before it\n"},
        InputCase{"SecondCount", "tilesets 1\ntilesets 1\n",
                  "in:2:1: a second tilesets line: the count is on line 1\n"},
        InputCase{"EmptyInput", "", "in:1:1: expected \"tilesets COUNT\", found the end of the input\n"},
        InputCase{"JsonGivenAsText", "{\n  \"tilesets\": []\n}\n",
                  "in:1:1: expected \"tilesets COUNT\" first; for a JSON dump, give --format json\n"},
        InputCase{"ControlBytesInAnUnknownLine", TILESET_0 + "\x1B]0;title\x07 \x1B[2J\n",
                  "in:3:1: unknown line \"\\x1B]0;title\\x07\": expected tilesets, tileset, name, ambient or slot\n"},
        InputCase{"LongWordQuotedInPart", TILESET_0 + "name " + std::string(40, 'w') + "\n",
                  "in:3:6: expected a text in quotes, found \"" + std::string(32, 'w') + "\"... (40 bytes)\n"},
        InputCase{"LongNumberShownInPart", TILESET_0 + "ambient " + std::string(40, '9') + "\n",
                  "in:3:9: ambient number " + std::string(32, '9') + "... (40 characters): expected 0 to 255\n"}));

class JsonInputError : public ::testing::TestWithParam<InputCase> {};

TEST_P(JsonInputError, IsNamedWithItsPathLineAndColumnAndNothingIsBuilt)
{
    const Built built = BuildFrom(GetParam().input, true);
    EXPECT_EQ(built.errors, GetParam().errors);
    EXPECT_EQ(built.bytes, "");
}

std::string OneTileset(const std::string& members)
{
    return "{\"tilesets\": [{" + members + "}]}";
}

std::string TilesetList(int count)
{
    std::string list = "{\"tilesets\": [{}";
    for (int i = 1; i < count; ++i) {
        list += ", {}";
    }
    return list + "]}";
}

INSTANTIATE_TEST_SUITE_P(
    Dumps, JsonInputError,
    ::testing::Values(
        InputCase{"TextOf32Bytes",
                  OneTileset("\"slots\": [{\"index\": 0, \"text\": \"" + std::string(32, 'a') + "\"}]"),
                  "in:1:47: tilesets[0].slots[0].text: a text of 32 bytes: expected at most 31\n"},
        InputCase{"AmbientAbove255", OneTileset("\"ambient\": 256"),
                  "in:1:27: tilesets[0].ambient: ambient number 256: expected 0 to 255\n"},
        InputCase{"SlotAbove150", OneTileset("\"slots\": [{\"index\": 151, \"text\": \"\"}]"),
                  "in:1:36: tilesets[0].slots[0].index: slot 151: a tileset has slots 0 to 150\n"},
        InputCase{"RepeatedSlot",
                  OneTileset("\"slots\": [{\"index\": 1, \"text\": \"a\"},\n{\"index\": 1, \"text\": \"b\"}]"),
                  "in:2:11: tilesets[0].slots[1].index: slot 1 of tileset 0 is given twice, first on line 1\n"},
        InputCase{"IndexOtherThanItsPlace", "{\"tilesets\": [{\"index\": 0}, {\"index\": 0}]}",
                  "in:1:39: tilesets[1].index: index 0: expected 1, the tileset's place in the list\n"},
        InputCase{"MoreThan255Tilesets", TilesetList(256),
                  "in:1:1035: tilesets[255]: 256 tilesets: a table holds at most 255\n"},
        InputCase{"BadEscape", OneTileset("\"name\": \"a\\xFF\""),
                  "in:1:26: tilesets[0].name: bad escape \"\\\\x\": expected \\\", \\\\, \\/, \\b, \\f, \\n, \\r, \\t "
                  "or \\uXXXX\n"},
        InputCase{"ShortUnicodeEscape", OneTileset("\"name\": \"\\u00E\""),
                  "in:1:25: tilesets[0].name: bad escape \"\\\\u00E\": expected \\u and four hexadecimal digits\n"},
        InputCase{"CharacterAboveOneByte", OneTileset("\"name\": \"\\u0100 and \xC4\x80\""),
                  "in:1:25: tilesets[0].name: the character U+0100: expected U+0000 to U+00FF, each the byte of the "
                  "same number\n"
                  "in:1:36: tilesets[0].name: the character U+0100: expected U+0000 to U+00FF, each the byte of the "
                  "same number\n"},
        InputCase{"NotUtf8", OneTileset("\"name\": \"\xE9\""),
                  "in:1:25: tilesets[0].name: bytes that are not UTF-8 in a string\n"},
        InputCase{"LongerFormOfAByte", OneTileset("\"name\": \"\xE0\x83\xA9\""),
                  "in:1:25: tilesets[0].name: bytes that are not UTF-8 in a string\n"},
        InputCase{"ControlCharacter", OneTileset("\"name\": \"a\tb\""),
                  "in:1:26: tilesets[0].name: a control character in a string: expected it escaped, as \\u0009\n"},
        InputCase{"NulFromAnEscape", OneTileset("\"name\": \"a\\u0000\""),
                  "in:1:24: tilesets[0].name: a text with a NUL byte in it: a text ends at its first NUL\n"},
        InputCase{"UnknownKeys",
                  "{\"tilesets\": [{\"colour\": 1, \"slots\": [{\"index\": 0, \"txt\": \"a\"}]}], \"x\": 0}",
                  "in:1:16: tilesets[0].colour: unknown key: expected \"index\", \"name\", \"ambient\" or \"slots\"\n"
                  "in:1:39: tilesets[0].slots[0]: expected the keys \"index\" and \"text\"\n"
                  "in:1:52: tilesets[0].slots[0].txt: unknown key: expected \"index\" or \"text\"\n"
                  "in:1:68: x: unknown key: expected \"tilesets\"\n"},
        InputCase{"RepeatedKey", OneTileset("\"ambient\": 1, \"ambient\": 2"),
                  "in:1:30: tilesets[0].ambient: the key is given twice in one object\n"},
        InputCase{"WrongKinds", "{\"tilesets\": [[], {\"name\": 1, \"ambient\": \"1\", \"slots\": {}}]}",
                  "in:1:15: tilesets[0]: expected an object, found a list\n"
                  "in:1:28: tilesets[1].name: expected a string, found a number\n"
                  "in:1:42: tilesets[1].ambient: expected a whole number, found a string\n"
                  "in:1:56: tilesets[1].slots: expected a list, found an object\n"},
        InputCase{"NumbersThatAreNotWhole", OneTileset("\"index\": -0, \"ambient\": 1.5e1"),
                  "in:1:25: tilesets[0].index: expected a whole number, found -0\n"
                  "in:1:40: tilesets[0].ambient: expected a whole number, found 1.5e1\n"},
        InputCase{"NoTilesets", "{}", "in:1:1: expected the key \"tilesets\"\n"},
        InputCase{"NoObject", "[]", "in:1:1: expected an object, found a list\n"},
        InputCase{"MissingComma", "{\"tilesets\": [{} {}]}", "in:1:18: expected \",\" or \"]\", found \"{\"\n"},
        InputCase{"UnterminatedString", "{\"tilesets\": [{\"name\": \"open}]}",
                  "in:1:24: tilesets[0].name: the string has no closing quote\n"},
        InputCase{"CutShort", "{\"tilesets\": [\n", "in:2:1: expected a value, found the end of the input\n"},
        InputCase{"MoreAfterTheDocument", "{\"tilesets\": []} {}",
                  "in:1:18: expected the end of the input after the document\n"},
        InputCase{"BadFraction", "{\"tilesets\": [1.]}",
                  "in:1:17: expected a digit after the decimal point, found \"]\"\n"},
        InputCase{"NestedTooDeep", std::string(100, '['), "in:1:65: values nested more than 64 deep\n"},
        InputCase{"TextGivenAsJson", "tilesets 0\n", "in:1:1: expected a value, found \"t\"\n"},
        InputCase{"LeadingZero", OneTileset("\"ambient\": 007"),
                  "in:1:27: expected a number without leading zeros, found 007\n"},
        InputCase{"PlusSign", OneTileset("\"ambient\": +7"), "in:1:27: expected a value, found \"+\"\n"},
        InputCase{"HugeNumberAsWritten", OneTileset("\"ambient\": 99999999999999999999"),
                  "in:1:27: tilesets[0].ambient: ambient number 99999999999999999999: expected 0 to 255\n"},
        InputCase{"SurrogatePairIsOneCharacter", OneTileset("\"name\": \"\\uD83D\\uDE00\""),
                  "in:1:25: tilesets[0].name: the character U+1F600: expected U+0000 to U+00FF, each the byte of the "
                  "same number\n"},
        InputCase{"LoneSurrogates", OneTileset("\"name\": \"\\uD83Da\\uDE00\\uD83D\\u0041\""),
                  "in:1:25: tilesets[0].name: the lone surrogate U+D83D: expected a pair, \\uD800 to \\uDBFF then "
                  "\\uDC00 to \\uDFFF\n"
                  "in:1:32: tilesets[0].name: the lone surrogate U+DE00: expected a pair, \\uD800 to \\uDBFF then "
                  "\\uDC00 to \\uDFFF\n"
                  "in:1:38: tilesets[0].name: the lone surrogate U+D83D: expected a pair, \\uD800 to \\uDBFF then "
                  "\\uDC00 to \\uDFFF\n"},
        InputCase{"ControlBytesInAKey", "{\"\\u001b[2J\": 1, \"tilesets\": []}",
                  "in:1:2: \"\\u001B[2J\": unknown key: expected \"tilesets\"\n"},
        InputCase{"QuoteInAKey", "{\"tilesets\": [{\"a\\\"b\": 1}]}",
                  "in:1:16: tilesets[0].\"a\\\"b\": unknown key: expected \"index\", \"name\", \"ambient\" or "
                  "\"slots\"\n"}));

class CsvInputError : public ::testing::TestWithParam<InputCase> {};

TEST_P(CsvInputError, IsNamedWithItsLineColumnAndColumnNameAndNothingIsBuilt)
{
    const Built built = BuildWith(TableCsv::Read, GetParam().input);
    EXPECT_EQ(built.errors, GetParam().errors);
    EXPECT_EQ(built.bytes, "");
}

const std::string CSV_HEADER = "tileset,name,ambient,slot,text\n";

INSTANTIATE_TEST_SUITE_P(
    Dumps, CsvInputError,
    ::testing::Values(
        InputCase{"TextOf32Bytes", CSV_HEADER + "0,a,0,0," + std::string(32, 'a') + "\n",
                  "in:2:9: text: a text of 32 bytes: expected at most 31\n"},
        InputCase{"SlotAbove150", CSV_HEADER + "0,a,0,151,x\n",
                  "in:2:7: slot: slot 151: a tileset has slots 0 to 150\n"},
        InputCase{"RepeatedSlot", CSV_HEADER + "0,a,0,4,x\n0,a,0,4,y\n",
                  "in:3:7: slot: slot 4 of tileset 0 is given twice, first on line 2\n"},
        InputCase{"TilesetAbove254", CSV_HEADER + "255,a,0,0,x\n",
                  "in:2:1: tileset: tileset 255: a table holds at most 255 tilesets, 0 to 254\n"},
        InputCase{"NamesOfATilesetDiffer", CSV_HEADER + "0,a,0,0,\n0,b,0,1,\n",
                  "in:3:3: name: tileset 0 is named \"b\" here, but \"a\" on line 2: the rows of a tileset give one "
                  "name\n"},
        InputCase{"AmbientNumbersOfATilesetDiffer", CSV_HEADER + "0,a,3,0,\n0,a,4,1,\n",
                  "in:3:5: ambient: tileset 0 has the ambient number 4 here, but 3 on line 2: the rows of a tileset "
                  "give one ambient number\n"},
        InputCase{"AmbientAbove255", CSV_HEADER + "0,a,256,0,\n",
                  "in:2:5: ambient: ambient number 256: expected 0 to 255\n"},
        InputCase{"MissingColumn", "tileset,name,ambient,text\n0,a,0,x\n",
                  "in:1:1: the header has no column \"slot\": expected the columns tileset, name, ambient, slot and "
                  "text, in any order\n"},
        InputCase{"ColumnGivenTwice", "tileset,name,ambient,slot,text,Text\n",
                  "in:1:32: the column \"text\" is given twice, first as column 5\n"},
        InputCase{"NotANumber", CSV_HEADER + "x,a,0,0,\n",
                  "in:2:1: tileset: expected the tileset's index (a number), found \"x\"\n"},
        InputCase{"RowCutShort", CSV_HEADER + "0,a\n",
                  "in:2:4: ambient: expected the ambient number (a number), found nothing\n"
                  "in:2:4: slot: expected the slot's index (a number), found nothing\n"},
        InputCase{"NoClosingQuote", CSV_HEADER + "0,\"a,0,0,\n", "in:2:3: the field has no closing quote\n"},
        InputCase{"MoreAfterTheClosingQuote", CSV_HEADER + "0,\"a\"b,0,0,\n",
                  "in:2:6: expected a separator or the end of the line after the closing quote, found \"b\"\n"},
        InputCase{"NotUtf8", CSV_HEADER + "0,caf\xE9,0,0,\n",
                  "in:2:6: name: a UTF-8 character cut short: a CSV file is read as UTF-8 (in Excel, save it as CSV "
                  "UTF-8)\n"},
        InputCase{"CharacterAboveOneByte", CSV_HEADER + "0,\xC4\x80,0,0,\n",
                  "in:2:3: name: the character U+0100: expected U+0000 to U+00FF, each the byte of the same number\n"},
        InputCase{"LinesCountedInQuotedFields", CSV_HEADER + "0,a,0,0,\"x\ny\"\n0,a,0,999,\n",
                  "in:4:7: slot: slot 999: a tileset has slots 0 to 150\n"},
        InputCase{"EmptyInput", "\xEF\xBB\xBF",
                  "in:1:4: expected the header line tileset,name,ambient,slot,text, found the end of the input\n"}));

// Each input, as another writer or a spreadsheet would leave it, gives the table of the text dump.
struct CsvFormCase {
    const char* what;
    std::string csv;
    std::string text;
};

void PrintTo(const CsvFormCase& formCase, std::ostream* out)
{
    *out << formCase.what;
}

class CsvForm : public ::testing::TestWithParam<CsvFormCase> {};

TEST_P(CsvForm, IsTakenAsTheTableItHolds)
{
    const Built built = BuildWith(TableCsv::Read, GetParam().csv);
    EXPECT_EQ(built.errors, "");
    EXPECT_EQ(built.bytes, BuildFrom(GetParam().text, false).bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, CsvForm,
    ::testing::Values(
        CsvFormCase{"ExcelWithSemicolonsColumnsMovedNotesAndQuotes",
                    "Text;Slot;notes;Ambient;Name;Tileset\n\"''quoted\";\"3\";\"mine\";\"7\";\"Caf\xC3\xA9\";\"1\"\n"
                    "=x;0;;7;Caf\xC3\xA9;1\n;;;;;\n",
                    "tilesets 2\ntileset 1\nname \"Caf\\xE9\"\nambient 7\nslot 0 \"=x\"\nslot 3 \"'quoted\"\n"},
        CsvFormCase{"LineEndsKeptInQuotes", CSV_HEADER + "0,,0,0,\"a\r\nb\rc\"\r\n",
                    "tilesets 1\ntileset 0\nslot 0 \"a\\x0D\\x0Ab\\x0Dc\"\n"},
        CsvFormCase{"OneGuardTakenAway", CSV_HEADER + "0,'=1+1,0,0,'''\r0,'=1+1,0,1," + "'" + std::string(31, 'a'),
                    "tilesets 1\ntileset 0\nname \"=1+1\"\nslot 0 \"''\"\nslot 1 \"" + std::string(31, 'a') + "\"\n"},
        CsvFormCase{"HighestTilesetGivesTheCount", "\xEF\xBB\xBF" + CSV_HEADER + "2,,0,0,\n", "tilesets 3\n"},
        CsvFormCase{"HeaderAlone", CSV_HEADER, "tilesets 0\n"}));

TilesetTable Table(int count)
{
    TilesetTable table;
    table.SetRecordCount(count);
    return table;
}

TEST(TableBuild, TilesetsAndValuesLeftOutAreEmpty)
{
    TilesetTable expected = Table(3);
    SetSlot(expected.RecordAt(1), 150, "last");
    expected.RecordAt(1).ambient = 255;

    EXPECT_EQ(BuildFrom("tilesets 3\ntileset 1\nslot 150 \"last\"\nambient 255\n", false).bytes, WriteBytes(expected));
    const std::string json =
        "{\"tilesets\": [{}, {\"slots\": [{\"index\": 150, \"text\": \"last\"}], \"ambient\": 255}, {}]}";
    EXPECT_EQ(BuildFrom(json, true).bytes, WriteBytes(expected));
}

TEST(TableBuild, TextTakesAnyIndentingBlankLinesCrLfAndLowerCaseHex)
{
    TilesetTable expected = Table(2);
    SetName(expected.RecordAt(1), "Caf\xE9");
    SetSlot(expected.RecordAt(1), 0, "\"q\" \\");
    SetSlot(expected.RecordAt(0), 3, "");

    const std::string input = "\r\n\ttilesets   2 \r\n\r\ntileset 1\r\nname \"Caf\\xe9\"\r\n"
                              "      slot 0 \"\\\"q\\\" \\\\\"\r\ntileset 0\nslot 3 \"\"";
    const Built built = BuildFrom(input, false);
    EXPECT_EQ(built.errors, "");
    EXPECT_EQ(built.bytes, WriteBytes(expected));
}

TEST(TableBuild, JsonTakesEveryEscapeAndUtf8ForTheBytesUpTo0xFF)
{
    TilesetTable expected = Table(1);
    SetName(expected.RecordAt(0), "\"\\/\b\f\n\r\t\xE9\xE9\xFF");
    SetSlot(expected.RecordAt(0), 2, "\x7F\x80");

    const std::string input = " {\"tilesets\":[{\"name\":\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\xC3\xA9\\u00FF\",\r\n"
                              "\"slots\":[{\"text\":\"\\u007f\xC2\x80\",\"index\":2}]}]}\n";
    const Built built = BuildFrom(input, true);
    EXPECT_EQ(built.errors, "");
    EXPECT_EQ(built.bytes, WriteBytes(expected));
}

TEST(TableBuild, EveryErrorOfTheInputIsToldInTheOrderOfTheInput)
{
    const Built built =
        BuildFrom("tilesets 1\ntileset 0\nambient 300\nslot 999 \"" + std::string(40, 'x') + "\"\nslot 1 \"\\q\"\n",
                  false);
    EXPECT_EQ(built.errors, "in:3:9: ambient number 300: expected 0 to 255\n"
                            "in:4:6: slot 999: a tileset has slots 0 to 150\n"
                            "in:4:10: a text of 40 bytes: expected at most 31\n"
                            "in:5:9: bad escape \"\\\\q\": expected \\xNN (two hexadecimal digits), \\\" or \\\\\n");
}

// As Notepad writes UTF-8.
TEST(TableBuild, BothFormatsTakeAByteOrderMark)
{
    EXPECT_EQ(BuildFrom("\xEF\xBB\xBFtilesets 1\n", false).bytes, WriteBytes(Table(1)));
    EXPECT_EQ(BuildFrom("\xEF\xBB\xBF{\"tilesets\": [{}]}", true).bytes, WriteBytes(Table(1)));
}

TEST(TableBuild, JsonTakesTheKeysOfAnObjectInAnyOrder)
{
    TilesetTable expected = Table(1);
    SetName(expected.RecordAt(0), "n");
    SetSlot(expected.RecordAt(0), 3, "s");
    expected.RecordAt(0).ambient = 9;
    const Built built =
        BuildFrom("{\"tilesets\": [{\"slots\": [{\"text\": \"s\", \"index\": 3}], \"ambient\": 9, \"index\": 0, "
                  "\"name\": \"n\"}]}",
                  true);
    EXPECT_EQ(built.errors, "");
    EXPECT_EQ(built.bytes, WriteBytes(expected));
}

// The errors of each slot come out of order: its unknown key is found before
// the slot is known to lack its keys. The first hundred by place are told.
TEST(TableBuild, TellsTheFirstHundredErrorsByPlaceAndCountsAll)
{
    std::string json = "{\"tilesets\": [{\"slots\": [";
    for (int slot = 0; slot < 150; ++slot) {
        json += slot == 0 ? "\n{\"x\": 1}" : ",\n{\"x\": 1}";
    }
    TableBuilder builder;
    TableJson::Read(json + "]}]}", nullptr, builder);
    ASSERT_EQ(builder.Errors().size(), 100u);
    EXPECT_EQ(builder.ErrorCount(), 300u);
    for (std::size_t k = 0; k < builder.Errors().size(); ++k) {
        const TableInputError& error = builder.Errors()[k];
        EXPECT_EQ(error.Line(), static_cast<int>(k / 2 + 2)) << k;
        EXPECT_EQ(error.Column(), k % 2 == 0 ? 1 : 2) << k;
    }
}

TEST(TableBuild, LargestTableIsBuiltFromBothFormats)
{
    TilesetTable expected = Table(255);
    SetName(expected.RecordAt(254), "last");
    EXPECT_EQ(BuildFrom("tilesets 255\ntileset 254\nname \"last\"\n", false).bytes, WriteBytes(expected));
    const std::string firstTilesets = TilesetList(254);
    const std::string json = firstTilesets.substr(0, firstTilesets.size() - 2) + ", {\"name\": \"last\"}]}";
    EXPECT_EQ(BuildFrom(json, true).bytes, WriteBytes(expected));
}

} // namespace
