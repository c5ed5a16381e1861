#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using Names = std::vector<std::string>;

std::size_t EntryOffset(int i, uint32_t slotsPerTileset = 151)
{
    return HEADER_BYTES + EntryBytes(slotsPerTileset) * static_cast<std::size_t>(i);
}

TEST(TilesetFileWrite, EmptyTableIsTheFiveHeaderBytes)
{
    const TilesetTable table;
    EXPECT_EQ(WriteBytes(table), std::string("\x00\x97\x00\x00\x00", 5));
}

TEST(TilesetFileWrite, EntriesHoldNameAmbientAndSlotsAtTheirOffsets)
{
    TilesetTable table;
    table.SetRecordCount(2);
    SetName(table.RecordAt(1), "Swamp");
    table.RecordAt(1).ambient = 42;
    SetSlot(table.RecordAt(1), 0, "mud");
    SetSlot(table.RecordAt(1), 150, "reed");

    const std::string bytes = WriteBytes(table);
    ASSERT_EQ(bytes.size(), HEADER_BYTES + 2 * SAVED_ENTRY_BYTES);
    EXPECT_EQ(bytes.substr(0, 5), std::string("\x02\x97\x00\x00\x00", 5));
    EXPECT_EQ(bytes.substr(EntryOffset(0), SAVED_ENTRY_BYTES), std::string(SAVED_ENTRY_BYTES, '\0'));
    const std::size_t entry = EntryOffset(1);
    EXPECT_EQ(bytes.substr(entry, 32), Field("Swamp"));
    EXPECT_EQ(bytes[entry + 32], 42);
    EXPECT_EQ(bytes.substr(entry + 33, 32), Field("mud"));
    EXPECT_EQ(bytes.substr(entry + 33 + 32 * 150, 32), Field("reed"));
}

TEST(TilesetFileWrite, NameFieldIsZeroAfterItsNulAndSlotsAreWrittenAsStored)
{
    TilesetTable table;
    table.SetRecordCount(1);
    TilesetRecord& record = table.RecordAt(0);
    SetName(record, "Ice");
    std::fill(record.name + 4, record.name + NAME_FIELD_SIZE, u'x');
    SetSlot(record, 3, std::string("ab\0stale", 8));

    const std::string bytes = WriteBytes(table);
    EXPECT_EQ(bytes.substr(EntryOffset(0), 32), Field("Ice"));
    EXPECT_EQ(bytes.substr(EntryOffset(0) + 33 + 32 * 3, 32), Field(std::string("ab\0stale", 8)));
}

TEST(TilesetFileRead, ListsEachNameInFileOrderAndFillsTheRecords)
{
    const std::string file = Header(3, 151) + Entry("Desert", 5, {"sand", "", "dune"}, 151) + Entry("", 0, {}, 151) +
                             Entry("Forest", 9, {"oak"}, 151);
    TilesetTable table;
    NameList names;
    const TilesetFileResult result = ReadBytes(file, table, names);

    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.Status(), TILESET_FILE_LOADED);
    EXPECT_EQ(names.names, (Names{"Desert", "", "Forest"}));
    ASSERT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(NameOf(table.RecordAt(0)), "Desert");
    EXPECT_EQ(table.RecordAt(0).ambient, 5);
    EXPECT_STREQ(table.RecordAt(0).slots[0], "sand");
    EXPECT_STREQ(table.RecordAt(0).slots[1], "");
    EXPECT_STREQ(table.RecordAt(0).slots[2], "dune");
    EXPECT_EQ(NameOf(table.RecordAt(2)), "Forest");
    EXPECT_STREQ(table.RecordAt(2).slots[0], "oak");
    EXPECT_EQ(WriteBytes(table), file);
}

// A record's bytes, its padding among them.
std::string BytesOf(const TilesetRecord& record)
{
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// The records are filled without being zeroed first; the table's memory here
// held records of 0xFF bytes, which no byte of the loaded ones may keep.
TEST(TilesetFileRead, EveryByteOfEachRecordIsWrittenPaddingIncluded)
{
    const std::string file = Header(2, 2) + Entry("Moor", 3, {"peat", "bog"}, 2);
    NameList names;
    TilesetTable fresh;
    ReadBytes(file, fresh, names);
    TilesetTable reused;
    reused.SetRecordCount(2);
    for (int i = 0; i < 2; ++i) {
        std::memset(&reused.RecordAt(i), 0xFF, sizeof(TilesetRecord));
    }
    reused.SetRecordCount(0);
    ReadBytes(file, reused, names);
    ASSERT_EQ(reused.RecordCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(BytesOf(reused.RecordAt(i)) == BytesOf(fresh.RecordAt(i))) << "record " << i;
    }
}

TEST(TilesetFileRead, UneditedFullFileComesBackWithZerosAfterEachNul)
{
    const std::string stale("\0stale", 6);
    const std::string file = Header(2, 151) + Entry("Lava" + stale, 1, {"rock" + stale, stale, "ash"}, 151) +
                             Entry("Sky", 2, {"cloud"}, 151);
    const std::string expected =
        Header(2, 151) + Entry("Lava", 1, {"rock", "", "ash"}, 151) + Entry("Sky", 2, {"cloud"}, 151);
    EXPECT_EQ(Resaved(file), expected);
}

TEST(TilesetFileRead, FewerSlotsPerTilesetGrowToTheFull151)
{
    for (const uint32_t slotsPerTileset : {0u, 2u}) {
        SCOPED_TRACE(slotsPerTileset);
        std::string file = Header(3, slotsPerTileset);
        for (const char* name : {"A", "B", "C"}) {
            file += Entry(name, 7, {std::string("s0") + name, std::string("s1") + name}, slotsPerTileset);
        }
        ASSERT_EQ(file.size(), HEADER_BYTES + 3 * (33 + 32 * slotsPerTileset));

        TilesetTable table;
        NameList names;
        ReadBytes(file, table, names);
        EXPECT_EQ(names.names, (Names{"A", "B", "C"}));
        EXPECT_EQ(table.RecordAt(2).ambient, 7);
        EXPECT_STREQ(table.RecordAt(2).slots[0], slotsPerTileset == 2 ? "s0C" : "");
        EXPECT_STREQ(table.RecordAt(2).slots[1], slotsPerTileset == 2 ? "s1C" : "");
        EXPECT_STREQ(table.RecordAt(2).slots[2], "");

        const std::string saved = WriteBytes(table);
        EXPECT_EQ(saved.size(), HEADER_BYTES + 3 * SAVED_ENTRY_BYTES);
        EXPECT_EQ(saved.substr(1, 4), std::string("\x97\x00\x00\x00", 4));
    }
}

TEST(TilesetFileRead, CountAboveTheEntriesPresentKeepsEmptyRecordsUnlisted)
{
    for (const uint32_t slotsPerTileset : {0u, 2u, 151u}) {
        SCOPED_TRACE(slotsPerTileset);
        const std::string file = Header(3, slotsPerTileset) + Entry("One", 1, {"x"}, slotsPerTileset) +
                                 Entry("Two", 2, {}, slotsPerTileset);
        TilesetTable table;
        NameList names;
        ReadBytes(file, table, names);
        EXPECT_EQ(names.names, (Names{"One", "Two"}));
        EXPECT_EQ(table.RecordCount(), 3);

        const std::string saved = WriteBytes(table);
        EXPECT_EQ(saved.size(), 14600u);
        EXPECT_EQ(saved.substr(EntryOffset(2)), Entry("", 0, {}, 151));
    }
}

TEST(TilesetFileRead, UpperHalfBytesAmbient255AndA31ByteNameSurvive)
{
    const std::string longName = ByteRun(0x80, 31);
    const std::string highSlot = ByteRun(0xE1, 31);
    const std::string file = Header(1, 151) + Entry(longName, 255, {highSlot, ByteRun(0xFF, 1)}, 151);
    TilesetTable table;
    NameList names;
    ReadBytes(file, table, names);

    EXPECT_EQ(names.names, Names{longName});
    const TilesetRecord& record = table.RecordAt(0);
    EXPECT_EQ(record.name[0], 0x0080);
    EXPECT_EQ(record.name[30], 0x009E);
    EXPECT_EQ(record.name[31], 0);
    EXPECT_EQ(record.ambient, 255);
    EXPECT_EQ(std::string(record.slots[0]), highSlot);
    EXPECT_EQ(WriteBytes(table), file);
}

TEST(TilesetFileRead, FieldsWithoutNulKeepTheirFirst31Bytes)
{
    const std::string file = Header(1, 2) + std::string(32, 'N') + '\x03' + std::string(32, 'S') + Field("next");
    TilesetTable table;
    NameList names;
    ReadBytes(file, table, names);

    EXPECT_EQ(names.names, Names{std::string(31, 'N')});
    const TilesetRecord& record = table.RecordAt(0);
    EXPECT_EQ(NameOf(record), std::string(31, 'N'));
    EXPECT_EQ(record.slots[0][31], '\0');
    EXPECT_EQ(std::string(record.slots[0]), std::string(31, 'S'));
    EXPECT_STREQ(record.slots[1], "next");
    EXPECT_EQ(WriteBytes(table).substr(5, 33 + 64), Entry(std::string(31, 'N'), 3, {std::string(31, 'S'), "next"}, 2));
}

// Texts of every length with bytes that look like a NUL to a careless word-wise
// search (0x01, 0x80, 0xFF) and leftovers after the NUL.
TEST(TilesetFileRead, SlotTextOfEveryLengthKeepsItsBytesAndLosesWhatFollowsItsNul)
{
    const std::string texture("\x01\x80\xFF\x7F\x01\x01\x81\x00", 7);
    std::vector<std::string> fields;
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 32; ++length) {
        std::string field;
        while (field.size() < length) {
            field += texture[field.size() % texture.size()];
        }
        texts.push_back(field.substr(0, 31));
        if (length < 32) {
            field += '\0';
        }
        field += std::string(32 - field.size(), '\x01');
        fields.push_back(field);
    }
    TilesetTable table;
    NameList names;
    ReadBytes(Header(1, 33) + Entry("Mixed", 0, fields, 33), table, names);

    for (std::size_t j = 0; j < fields.size(); ++j) {
        EXPECT_EQ(std::string(table.RecordAt(0).slots[j], 32), Field(texts[j])) << "text of " << j << " bytes";
    }
}

TEST(TilesetFileRead, MoreThan151SlotsPerTilesetIsRefused)
{
    for (const uint32_t slotsPerTileset : {152u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(slotsPerTileset);
        const std::string file = Header(1, slotsPerTileset) + Entry("Big", 1, {"a"}, 152);
        TilesetTable table;
        NameList names;
        const TilesetFileResult result = ReadBytes(file, table, names);

        EXPECT_EQ(result.Status(), TILESET_FILE_TOO_MANY_SLOTS);
        EXPECT_FALSE(result.Succeeded());
        EXPECT_EQ(result.SlotCount(), slotsPerTileset);
        EXPECT_EQ(table.RecordCount(), 0);
        EXPECT_TRUE(names.names.empty());
    }
}

TEST(TilesetFileRead, BytesAfterTheLastEntryAreIgnored)
{
    const std::string file = Header(1, 151) + Entry("End", 4, {"z"}, 151);
    EXPECT_EQ(Resaved(file + Field("more") + "\x01\x02"), file);
}

// A small file cut at every length: a name is taken only whole, and a slot
// keeps what the file holds of it, its text whole once its NUL is there.
TEST(TilesetFileRead, EveryTruncationKeepsWholeNamesAndWhatTheFileHoldsOfEachSlot)
{
    const uint32_t slotsPerTileset = 2;
    const std::string file = Header(2, slotsPerTileset) + Entry("First", 11, {"f0", "f1"}, slotsPerTileset) +
                             Entry("Second", 22, {"s0", "s1"}, slotsPerTileset);
    const char* const entryNames[] = {"First", "Second"};
    const uint8_t ambients[] = {11, 22};
    const char* const slotTexts[][2] = {{"f0", "f1"}, {"s0", "s1"}};

    for (std::size_t length = 0; length <= file.size(); ++length) {
        SCOPED_TRACE(length);
        TilesetTable table;
        NameList names;
        EXPECT_TRUE(ReadBytes(file.substr(0, length), table, names).Succeeded());
        ASSERT_EQ(table.RecordCount(), length == 0 ? 0 : 2);

        Names expectedNames;
        for (int i = 0; i < table.RecordCount(); ++i) {
            const std::size_t entry = EntryOffset(i, slotsPerTileset);
            const bool nameRead = length >= entry + 32;
            const TilesetRecord& record = table.RecordAt(i);
            EXPECT_EQ(NameOf(record), nameRead ? entryNames[i] : "");
            EXPECT_EQ(record.ambient, nameRead && length >= entry + 33 ? ambients[i] : 0);
            for (int j = 0; j < 2; ++j) {
                const std::size_t slot = entry + 33 + 32 * static_cast<std::size_t>(j);
                const std::string held =
                    nameRead && length > slot ? std::string(slotTexts[i][j]).substr(0, length - slot) : "";
                EXPECT_EQ(std::string(record.slots[j]), held) << "record " << i << " slot " << j;
            }
            if (nameRead) {
                expectedNames.push_back(entryNames[i]);
            }
        }
        EXPECT_EQ(names.names, expectedNames);
        EXPECT_EQ(WriteBytes(table).size(),
                  HEADER_BYTES + SAVED_ENTRY_BYTES * static_cast<std::size_t>(table.RecordCount()));
    }
}

} // namespace
