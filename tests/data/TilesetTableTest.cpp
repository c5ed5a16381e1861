#include "data/TilesetTable.h"

#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

namespace {

bool IsEmptyRecord(const TilesetRecord& record)
{
    for (char16_t unit : record.name) {
        if (unit != 0) {
            return false;
        }
    }
    for (const auto& slot : record.slots) {
        for (char byte : slot) {
            if (byte != 0) {
                return false;
            }
        }
    }
    return record.ambient == 0;
}

TEST(TilesetTable, SetRecordCountOnEmptyTableYieldsAllZeroRecords)
{
    TilesetTable table;
    table.SetRecordCount(3);
    ASSERT_EQ(table.RecordCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(IsEmptyRecord(table.RecordAt(i))) << "record " << i;
    }
}

TEST(TilesetTable, SetRecordCountKeepsTheRecordsThatRemain)
{
    TilesetTable table;
    table.SetRecordCount(2);
    SetName(table.RecordAt(0), "Caves");
    SetSlot(table.RecordAt(1), 150, "last");
    table.RecordAt(1).ambient = 255;

    table.SetRecordCount(4);
    EXPECT_EQ(NameOf(table.RecordAt(0)), "Caves");
    EXPECT_STREQ(table.RecordAt(1).slots[150], "last");
    EXPECT_EQ(table.RecordAt(1).ambient, 255);
    EXPECT_TRUE(IsEmptyRecord(table.RecordAt(3)));

    table.SetRecordCount(1);
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(NameOf(table.RecordAt(0)), "Caves");
}

} // namespace
