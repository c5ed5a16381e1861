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

TEST(TableDump, EmptyTableIsTheCountAloneOrAnEmptyList)
{
    const TilesetTable table;
    EXPECT_EQ(TextDumpOf(table), "tilesets 0\n");
    EXPECT_EQ(JsonDumpOf(table), "{\n  \"tilesets\": []\n}\n");
}

} // namespace
