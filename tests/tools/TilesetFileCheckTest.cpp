#include "data/TilesetFile.h"
#include "data/TilesetFileCheck.h"
#include "data/TilesetTable.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

// For the failure messages of the comparisons below.
void PrintTo(const TilesetFileProblem& problem, std::ostream* out)
{
    *out << "{kind " << problem.kind << ", offset " << problem.offset << ", found " << problem.found << ", expected "
         << problem.expected << ", tileset " << problem.tileset << ", slot " << problem.slot << "}";
}

namespace {

using Problems = std::vector<TilesetFileProblem>;

const std::string FULL_FIELD(32, 'x');
const uint64_t ENTRY_151 = 4865;

uint64_t EntryAt(int i, uint64_t entryBytes = ENTRY_151)
{
    return 5 + entryBytes * static_cast<uint64_t>(i);
}

struct CheckCase {
    const char* what;
    std::string bytes;
    Problems problems;
};

void PrintTo(const CheckCase& checkCase, std::ostream* out)
{
    *out << checkCase.what;
}

class TilesetFileCheckFinds : public ::testing::TestWithParam<CheckCase> {};

TEST_P(TilesetFileCheckFinds, EachProblemAtItsOffset)
{
    EXPECT_EQ(TilesetFileCheck::Check(GetParam().bytes), GetParam().problems);
}

// 152 slot fields, those given without a NUL.
std::vector<std::string> FullSlots(const std::vector<int>& full)
{
    std::vector<std::string> slots(152);
    for (const int slot : full) {
        slots[static_cast<std::size_t>(slot)] = FULL_FIELD;
    }
    return slots;
}

INSTANTIATE_TEST_SUITE_P(
    CraftedFiles, TilesetFileCheckFinds,
    ::testing::Values(
        CheckCase{"empty file", "", {{TILESET_PROBLEM_EMPTY_FILE, 0, 0, 0, -1, 0}}},
        CheckCase{"header cut short",
                  Header(1, 151).substr(0, 3),
                  {{TILESET_PROBLEM_HEADER_CUT_SHORT, 0, 3, 5, -1, 0}}},
        CheckCase{"count above the whole entries",
                  Header(3, 151) + Entry("a", 0, {}, 151) + Entry("b", 0, {}, 151),
                  {{TILESET_PROBLEM_MISSING_ENTRIES, 0, 2, 3, -1, 0}}},
        CheckCase{"count above the whole entries, the last one cut",
                  Header(3, 151) + Entry("a", 0, {}, 151) + Entry("b", 0, {}, 151).substr(0, 100),
                  {{TILESET_PROBLEM_MISSING_ENTRIES, 0, 1, 3, -1, 0},
                   {TILESET_PROBLEM_ENTRY_CUT_SHORT, EntryAt(1), 100, ENTRY_151, 1, 0}}},
        CheckCase{"count with no entry at all", Header(2, 151), {{TILESET_PROBLEM_MISSING_ENTRIES, 0, 0, 2, -1, 0}}},
        CheckCase{"fewer slots than 151",
                  Header(1, 2) + Entry("a", 0, {"b", "c"}, 2),
                  {{TILESET_PROBLEM_FEWER_SLOTS, 1, 2, 151, -1, 0}}},
        CheckCase{"no slots",
                  Header(2, 0) + Entry("a", 0, {}, 0) + Entry("b", 0, {}, 0),
                  {{TILESET_PROBLEM_FEWER_SLOTS, 1, 0, 151, -1, 0}}},
        CheckCase{"more slots than 151, each field checked",
                  Header(1, 152) + Entry("a", 0, FullSlots({0, 151}), 152),
                  {{TILESET_PROBLEM_TOO_MANY_SLOTS, 1, 152, 151, -1, 0},
                   {TILESET_PROBLEM_SLOT_WITHOUT_NUL, 5 + 33, 0, 0, 0, 0},
                   {TILESET_PROBLEM_SLOT_WITHOUT_NUL, 5 + 33 + 32 * 151, 0, 0, 0, 151}}},
        CheckCase{"the largest slot count a header holds",
                  Header(1, 0xFFFFFFFF) + Field("a") + "b" + Field(""),
                  {{TILESET_PROBLEM_MISSING_ENTRIES, 0, 0, 1, -1, 0},
                   {TILESET_PROBLEM_TOO_MANY_SLOTS, 1, 0xFFFFFFFF, 151, -1, 0},
                   {TILESET_PROBLEM_ENTRY_CUT_SHORT, 5, 65, 33 + 32 * uint64_t{0xFFFFFFFF}, 0, 0}}},
        CheckCase{"name without NUL",
                  Header(2, 151) + Entry("a", 0, {}, 151) + Entry(FULL_FIELD, 0, {}, 151),
                  {{TILESET_PROBLEM_NAME_WITHOUT_NUL, EntryAt(1), 0, 0, 1, 0}}},
        CheckCase{"last slot without NUL",
                  Header(1, 151) + Entry("a", 0, SlotsWith(150, FULL_FIELD), 151),
                  {{TILESET_PROBLEM_SLOT_WITHOUT_NUL, EntryAt(1) - 32, 0, 0, 0, 150}}},
        CheckCase{"a NUL in the last byte is enough",
                  Header(1, 151) + Entry(std::string(31, 'n'), 0, SlotsWith(150, std::string(31, 's')), 151),
                  {}},
        CheckCase{"bytes after the last entry",
                  Header(1, 151) + Entry("a", 0, {}, 151) + std::string(7, '\0'),
                  {{TILESET_PROBLEM_BYTES_AFTER_ENTRIES, EntryAt(1), 7, 0, -1, 0}}},
        CheckCase{"bytes after a header of no entries",
                  Header(0, 151) + "x",
                  {{TILESET_PROBLEM_BYTES_AFTER_ENTRIES, 5, 1, 0, -1, 0}}},
        CheckCase{"no tilesets", Header(0, 151), {}}));

// Only the start of a file was read: the layout is judged by the file's size,
// or not at all where the size is unknown, and the fields past the start are not seen.
TEST(TilesetFileCheck, JudgesTheStartOfAFileByItsSize)
{
    const std::string oneEntry = Header(1, 151) + Entry(FULL_FIELD, 0, {}, 151);
    const TilesetFileProblem nameWithoutNul{TILESET_PROBLEM_NAME_WITHOUT_NUL, 5, 0, 0, 0, 0};
    const struct {
        std::string start;
        std::optional<uint64_t> fileSize;
        Problems problems;
    } cases[] = {
        {oneEntry + "x",
         EntryAt(1) + 1000,
         {nameWithoutNul, {TILESET_PROBLEM_BYTES_AFTER_ENTRIES, EntryAt(1), 1000, 0, -1, 0}}},
        {oneEntry + "x",
         std::nullopt,
         {nameWithoutNul, {TILESET_PROBLEM_BYTES_AFTER_ENTRIES, EntryAt(1), 0, 0, -1, 0}}},
        {Header(2, 151) + Field(FULL_FIELD), EntryAt(2), {nameWithoutNul}},
        {Header(2, 151) + Field("a"),
         EntryAt(1) + 10,
         {{TILESET_PROBLEM_MISSING_ENTRIES, 0, 1, 2, -1, 0},
          {TILESET_PROBLEM_ENTRY_CUT_SHORT, EntryAt(1), 10, ENTRY_151, 1, 0}}},
        {Header(3, 0xFFFFFFFF) + Field("a"),
         std::nullopt,
         {{TILESET_PROBLEM_TOO_MANY_SLOTS, 1, 0xFFFFFFFF, 151, -1, 0}}},
    };
    for (const auto& startCase : cases) {
        EXPECT_EQ(TilesetFileCheck::Check(startCase.start, startCase.fileSize), startCase.problems)
            << startCase.start.size() << " bytes of " << startCase.fileSize.value_or(0);
    }
}

TEST(TilesetFileCheck, FindsNothingInAFileTheEditorSaved)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    TilesetTable table;
    table.SetRecordCount(MAX_TILESET_COUNT);
    for (int i = 0; i < MAX_TILESET_COUNT; ++i) {
        const unsigned n = static_cast<unsigned>(i);
        SetName(table.RecordAt(i), ByteRun(0x80 + n % 0x60, 31));
        table.RecordAt(i).ambient = static_cast<uint8_t>(i);
        SetSlot(table.RecordAt(i), i % SLOTS_PER_TILESET, ByteRun(1 + n % 0xE0, 31));
    }
    SetSlot(table.RecordAt(0), 150, std::string("kept\0stale", 10));
    ASSERT_TRUE(TilesetFile::Save(path, table).Succeeded());

    EXPECT_EQ(TilesetFileCheck::Check(ReadFileBytes(path)), Problems{});
}

TEST(TilesetFileCheck, FindsNothingInTheEveryByteTableOnceTheEditorResavedIt)
{
    EXPECT_FALSE(TilesetFileCheck::Check(EveryKindOfByteFile()).empty());
    EXPECT_EQ(TilesetFileCheck::Check(Resaved(EveryKindOfByteFile())), Problems{});
}

} // namespace
