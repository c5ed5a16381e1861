#include "data/TilesetTable.h"

#include "tests/support/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

namespace {

TilesetTable LoadedFrom(const std::string& bytes)
{
    TilesetTable table;
    NameList names;
    ReadBytes(bytes, table, names);
    return table;
}

TEST(TableDump, TextOfEveryKindOfByteMatchesTheExpectedText)
{
    EXPECT_EQ(TextDumpOf(LoadedFrom(EveryKindOfByteFile())), ExpectedOutput("every-byte.txt"));
}

TEST(TableDump, JsonOfEveryKindOfByteMatchesTheExpectedJson)
{
    EXPECT_EQ(JsonDumpOf(LoadedFrom(EveryKindOfByteFile())), ExpectedOutput("every-byte.json"));
}

TEST(TableDump, IsTheSameAfterTheEditorSavedAndReloadedTheTable)
{
    const TilesetTable table = LoadedFrom(EveryKindOfByteFile());
    const TilesetTable reloaded = LoadedFrom(WriteBytes(table));
    EXPECT_EQ(TextDumpOf(reloaded), TextDumpOf(table));
    EXPECT_EQ(JsonDumpOf(reloaded), JsonDumpOf(table));
}

TEST(TableDump, DemoInItsCodePageMatchesTheExpectedTextAndJson)
{
    const TilesetTable demo = LoadedFrom(DemoFileBytes());
    EXPECT_EQ(TextDumpOf(demo, &Page("1252")), ExpectedOutput("demo-1252.txt"));
    EXPECT_EQ(JsonDumpOf(demo, &Page("1252")), ExpectedOutput("demo-1252.json"));
}

// The rows of tileset 0, whose name starts as a formula would.
TEST(TableDump, CsvGuardsFormulasAndQuotesAsRfc4180Has)
{
    const std::vector<std::string> texts = {"=1+1", "+3",  "-2",         "@A1",      "\tx", "\rx",
                                            "'x",   "a,b", "say \"hi\"", "2\nlines", "x=1", "caf\xE9"};
    TilesetTable table;
    table.SetRecordCount(1);
    SetName(table.RecordAt(0), "=SUM(A1)");
    std::string expected = "\xEF\xBB\xBFtileset,name,ambient,slot,text\r\n";
    const char* const written[] = {"'=1+1",        "'+3",     "'-2",
                                   "'@A1",         "'\tx",    "\"'\rx\"",
                                   "''x",          "\"a,b\"", "\"say \"\"hi\"\"\"",
                                   "\"2\nlines\"", "x=1",     "caf\xC3\xA9"};
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        const bool filled = slot < static_cast<int>(texts.size());
        if (filled) {
            SetSlot(table.RecordAt(0), slot, texts[slot]);
        }
        expected += "0,'=SUM(A1),0," + std::to_string(slot) + "," + (filled ? written[slot] : "") + "\r\n";
    }
    EXPECT_EQ(CsvDumpOf(table), expected);
}

TEST(TableDump, EmptyTableIsTheCountAloneOrAnEmptyList)
{
    const TilesetTable table;
    EXPECT_EQ(TextDumpOf(table), "tilesets 0\n");
    EXPECT_EQ(JsonDumpOf(table), "{\n  \"tilesets\": []\n}\n");
    EXPECT_EQ(CsvDumpOf(table), "\xEF\xBB\xBFtileset,name,ambient,slot,text\r\n");
}

} // namespace
