#include "data/TilesetTable.h"
#include "tools/TableDump.h"

#include "tests/data/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TilesetTable LoadedFrom(const std::string& bytes)
{
    TilesetTable table;
    NameList names;
    ReadBytes(bytes, table, names);
    return table;
}

std::string TextOf(const TilesetTable& table)
{
    std::ostringstream out;
    TableDump::WriteText(table, out);
    return out.str();
}

std::string JsonOf(const TilesetTable& table)
{
    std::ostringstream out;
    TableDump::WriteJson(table, out);
    return out.str();
}

TEST(TableDump, TextOfEveryKindOfByteMatchesTheExpectedText)
{
    EXPECT_EQ(TextOf(LoadedFrom(EveryKindOfByteFile())), ExpectedOutput("every-byte.txt"));
}

TEST(TableDump, JsonOfEveryKindOfByteMatchesTheExpectedJson)
{
    EXPECT_EQ(JsonOf(LoadedFrom(EveryKindOfByteFile())), ExpectedOutput("every-byte.json"));
}

TEST(TableDump, IsTheSameAfterTheEditorSavedAndReloadedTheTable)
{
    const TilesetTable table = LoadedFrom(EveryKindOfByteFile());
    const TilesetTable reloaded = LoadedFrom(WriteBytes(table));
    EXPECT_EQ(TextOf(reloaded), TextOf(table));
    EXPECT_EQ(JsonOf(reloaded), JsonOf(table));
}

TEST(TableDump, EmptyTableIsTheCountAloneOrAnEmptyList)
{
    const TilesetTable table;
    EXPECT_EQ(TextOf(table), "tilesets 0\n");
    EXPECT_EQ(JsonOf(table), "{\n  \"tilesets\": []\n}\n");
}

} // namespace
