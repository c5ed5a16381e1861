#include "data/TilesetTable.h"
#include "tools/DemoTable.h"
#include "tools/TableComparison.h"

#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TilesetTable Demo()
{
    TilesetTable table;
    DemoTable::Fill(table);
    return table;
}

TEST(TableDiff, SameTablesGiveNoLine)
{
    EXPECT_EQ(TableComparison::Differences(Demo(), Demo(), nullptr), Lines{});
}

TEST(TableDiff, ListsEachChangedFieldInFileOrderWithTheDumpsEscapes)
{
    TilesetTable after = Demo();
    SetSlot(after.RecordAt(3), 150, "new \"end\"");
    SetSlot(after.RecordAt(1), 3, "\xA3 coin");
    after.RecordAt(1).ambient = 255;
    SetName(after.RecordAt(1), "Cafe");
    SetSlot(after.RecordAt(0), 0, "");

    EXPECT_EQ(TableComparison::Differences(Demo(), after, nullptr),
              (Lines{
                  "tileset 0 slot 0: \"grass\" -> \"\"",
                  "tileset 1 name: \"Caf\\xE9 Terrace\" -> \"Cafe\"",
                  "tileset 1 ambient: 12 -> 255",
                  "tileset 1 slot 3: \"\\x80 coin\" -> \"\\xA3 coin\"",
                  "tileset 3 slot 150: \"\" -> \"new \\\"end\\\"\"",
              }));
}

TEST(TableDiff, TilesetsOnlyOneTableHasAreComparedWithEmptyOnes)
{
    TilesetTable before;
    before.SetRecordCount(1);
    TilesetTable after;
    after.SetRecordCount(3);
    SetName(after.RecordAt(2), "Added");
    after.RecordAt(2).ambient = 4;

    EXPECT_EQ(TableComparison::Differences(before, after, nullptr),
              (Lines{"tilesets: 1 -> 3", "tileset 2 name: \"\" -> \"Added\"", "tileset 2 ambient: 0 -> 4"}));
    EXPECT_EQ(TableComparison::Differences(after, before, nullptr),
              (Lines{"tilesets: 3 -> 1", "tileset 2 name: \"Added\" -> \"\"", "tileset 2 ambient: 4 -> 0"}));
}

struct Merged {
    Lines conflicts;
    TilesetTable result;
};

Merged Merge(const TilesetTable& base, const TilesetTable& ours, const TilesetTable& theirs)
{
    Merged merged;
    merged.conflicts = TableComparison::Merge(base, ours, theirs, nullptr, merged.result);
    return merged;
}

TEST(TableMerge, TakesEachFieldChangedOnOneSideOnly)
{
    TilesetTable ours = Demo();
    SetSlot(ours.RecordAt(0), 4, "gravel path");
    ours.RecordAt(2).ambient = 7;
    TilesetTable theirs = Demo();
    SetSlot(theirs.RecordAt(0), 10, "lake");
    SetName(theirs.RecordAt(4), "Grotto");
    theirs.RecordAt(5).ambient = 255;

    TilesetTable expected = ours;
    SetSlot(expected.RecordAt(0), 10, "lake");
    SetName(expected.RecordAt(4), "Grotto");
    expected.RecordAt(5).ambient = 255;
    const Merged merged = Merge(Demo(), ours, theirs);
    EXPECT_EQ(merged.conflicts, Lines{});
    EXPECT_EQ(WriteBytes(merged.result), WriteBytes(expected));
}

TEST(TableMerge, TakesTheSameChangeOnBothSidesOnce)
{
    TilesetTable changed = Demo();
    SetSlot(changed.RecordAt(2), 5, "saguaro");
    changed.RecordAt(3).ambient = 41;

    const Merged merged = Merge(Demo(), changed, changed);
    EXPECT_EQ(merged.conflicts, Lines{});
    EXPECT_EQ(WriteBytes(merged.result), WriteBytes(changed));
}

TEST(TableMerge, DifferentChangesToOneFieldConflictAndKeepOurs)
{
    TilesetTable ours = Demo();
    SetSlot(ours.RecordAt(0), 10, "lake");
    ours.RecordAt(1).ambient = 1;
    SetSlot(ours.RecordAt(1), 0, "desk");
    TilesetTable theirs = Demo();
    SetSlot(theirs.RecordAt(0), 10, "mere\xFF");
    theirs.RecordAt(1).ambient = 2;
    SetSlot(theirs.RecordAt(1), 1, "stool");

    TilesetTable expected = ours;
    SetSlot(expected.RecordAt(1), 1, "stool");
    const Merged merged = Merge(Demo(), ours, theirs);
    EXPECT_EQ(merged.conflicts,
              (Lines{"conflict: tileset 0 slot 10: base \"pond\", ours \"lake\", theirs \"mere\\xFF\"",
                     "conflict: tileset 1 ambient: base 12, ours 1, theirs 2"}));
    EXPECT_EQ(WriteBytes(merged.result), WriteBytes(expected));
}

TEST(TableMerge, DifferingCountsAreOneConflictAndKeepOursWhole)
{
    TilesetTable ours = Demo();
    SetSlot(ours.RecordAt(0), 0, "meadow");
    TilesetTable theirs = Demo();
    theirs.SetRecordCount(7);
    SetSlot(theirs.RecordAt(0), 1, "daisies");

    const Merged merged = Merge(Demo(), ours, theirs);
    EXPECT_EQ(merged.conflicts, Lines{"conflict: tilesets: base 6, ours 6, theirs 7; tables with differing counts "
                                      "are not merged, ours is kept whole"});
    EXPECT_EQ(WriteBytes(merged.result), WriteBytes(ours));
    EXPECT_EQ(Merge(theirs, theirs, ours).conflicts.size(), 1u);
}

} // namespace
