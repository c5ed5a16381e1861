#include "data/TilesetFileFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using Format = TilesetFileFormat;

std::string FieldBytes(const char (&field)[Format::FIELD_SIZE])
{
    return std::string(field, Format::FIELD_SIZE);
}

TEST(TilesetFileLayout, SizesAndOffsetsAreThoseOfTheFile)
{
    EXPECT_EQ(Format::HEADER_SIZE, 5u);
    EXPECT_EQ(Format::FIELD_SIZE, 32u);
    EXPECT_EQ(Format::SLOTS_OFFSET, 33u);
    EXPECT_EQ(Format::SAVED_ENTRY_SIZE, 4865u);
    EXPECT_EQ(Format::EntrySize(0), 33u);
    EXPECT_EQ(Format::EntrySize(0xFFFFFFFF), 33 + 32 * uint64_t{0xFFFFFFFF});
}

TEST(TilesetFileLayout, HeaderIsTheCountThenTheSlotsLittleEndian)
{
    const char bytes[Format::HEADER_SIZE] = {'\xFF', '\x97', '\x01', '\x80', '\xFE'};
    const Format::Header header = Format::DecodeHeader(bytes);
    EXPECT_EQ(header.tilesetCount, 255);
    EXPECT_EQ(header.slotsPerTileset, 0xFE800197u);

    char encoded[Format::HEADER_SIZE] = {};
    Format::EncodeHeader(header, encoded);
    EXPECT_EQ(std::string(encoded, sizeof encoded), std::string(bytes, sizeof bytes));
}

TEST(TilesetFileLayout, NamesWidenEachByteAndNarrowBackToTheSameBytes)
{
    char field[Format::FIELD_SIZE] = {};
    for (std::size_t k = 0; k < Format::FIELD_SIZE - 1; ++k) {
        field[k] = static_cast<char>(0x80 + k * 4);
    }
    char16_t name[NAME_FIELD_SIZE];
    std::memset(name, 0xAB, sizeof name);
    Format::WidenName(field, name);
    EXPECT_EQ(name[0], 0x0080);
    EXPECT_EQ(name[30], 0x00F8);
    EXPECT_EQ(name[31], 0);

    char narrowed[Format::FIELD_SIZE];
    std::memset(narrowed, 'x', sizeof narrowed);
    Format::NarrowName(name, narrowed);
    EXPECT_EQ(FieldBytes(narrowed), FieldBytes(field));
}

// Every place of the text's end, with bytes left after it and a last byte that
// is not zero: the check of a whole entry and that of one field must agree.
TEST(TilesetFileLayout, CleaningKeepsTheTextAndZerosEverythingAfterIt)
{
    for (std::size_t length = 0; length < Format::FIELD_SIZE; ++length) {
        char slots[SLOTS_PER_TILESET][Format::FIELD_SIZE] = {};
        std::memset(slots[7], 'a', length);
        std::memset(slots[7] + length + 1, 's', Format::FIELD_SIZE - length - 1);
        char expected[Format::FIELD_SIZE] = {};
        std::memset(expected, 'a', length < Format::FIELD_SIZE - 1 ? length : Format::FIELD_SIZE - 1);

        char field[Format::FIELD_SIZE];
        std::memcpy(field, slots[7], sizeof field);
        Format::CleanField(field);
        EXPECT_EQ(FieldBytes(field), FieldBytes(expected)) << "text of " << length;
        EXPECT_EQ(Format::TextLength(field), std::min<std::size_t>(length, Format::FIELD_SIZE - 1));

        Format::CleanSlots(SLOTS_PER_TILESET, slots);
        EXPECT_EQ(FieldBytes(slots[7]), FieldBytes(expected)) << "text of " << length << " among empty slots";
    }
}

TEST(TilesetFileLayout, FieldWithoutItsNulKeepsItsFirst31Bytes)
{
    char field[Format::FIELD_SIZE];
    std::memset(field, 'n', sizeof field);
    Format::CleanField(field);
    EXPECT_EQ(FieldBytes(field), std::string(31, 'n') + '\0');
}

TEST(TilesetFileLayout, CleanSlotsLeavesSlotsPastTheCountAsTheyStand)
{
    char slots[SLOTS_PER_TILESET][Format::FIELD_SIZE] = {};
    std::memcpy(slots[2], "ab\0stale", 8);
    std::memcpy(slots[3], "cd\0stale", 8);
    Format::CleanSlots(3, slots);
    EXPECT_EQ(FieldBytes(slots[2]), std::string("ab") + std::string(30, '\0'));
    EXPECT_EQ(std::string(slots[3], 8), std::string("cd\0stale", 8));
}

} // namespace
