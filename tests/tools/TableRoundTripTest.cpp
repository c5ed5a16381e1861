// build(dump(file)) is what the editor's save writes after loading the file,
// for every file the editor loads, in both formats, plain and in every code
// page: over generated files and over the fuzzer's seed files. CSV, which
// like JSON holds characters only, takes the same table as JSON.
#include "data/TilesetFileCheck.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/TableBuilder.h"
#include "tools/TableCsv.h"
#include "tools/TableJson.h"
#include "tools/TableText.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>

namespace {

// 10,000 files in all, in runs of their own so that each stays short under Wine.
const int GENERATED_FILES_A_RUN = 2500;

// A field as files hold it: a text of random bytes, its NUL (or none, at
// length 32) and stale bytes after it, which the load drops. Slots are mostly
// empty, as in the game's tables.
std::string RandomField(std::mt19937& random, bool oftenEmpty)
{
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> textByte(1, 255);
    std::uniform_int_distribution<int> length(0, 32);
    const int textLength = oftenEmpty && random() % 4 != 0 ? 0 : length(random);
    std::string field;
    for (int k = 0; k < textLength; ++k) {
        field += static_cast<char>(textByte(random));
    }
    if (textLength < 32) {
        field += '\0';
    }
    while (field.size() < 32) {
        field += static_cast<char>(random() % 4 == 0 ? anyByte(random) : 0);
    }
    return field;
}

// Mostly small tables with every slot field, some with fewer slot fields, some
// cut short or with bytes after the last entry, a few of up to 255 tilesets.
std::string RandomFile(std::mt19937& random)
{
    const int kind = static_cast<int>(random() % 100);
    const int count = random() % 500 == 0 ? static_cast<int>(random() % 256) : static_cast<int>(random() % 5);
    const uint32_t slotsPerTileset = kind % 4 == 1 ? random() % 152 : 151;
    std::string bytes = Header(static_cast<uint8_t>(count), slotsPerTileset);
    for (int i = 0; i < count; ++i) {
        bytes += RandomField(random, false);
        bytes += static_cast<char>(random() % 8 == 0 ? 255 : random() % 256);
        for (uint32_t j = 0; j < slotsPerTileset; ++j) {
            bytes += RandomField(random, true);
        }
    }
    if (kind % 10 == 2) {
        bytes.resize(random() % (bytes.size() + 1));
    } else if (kind % 10 == 3) {
        bytes += RandomField(random, false);
    }
    return bytes;
}

using Reader = void (*)(const std::string&, const CodePageTable*, TableBuilder&);

// The table's bytes, or the first error, which no dump may have.
std::string Built(const std::string& dump, Reader read, const CodePageTable* page)
{
    TableBuilder builder;
    read(dump, page, builder);
    const std::vector<TableInputError> errors = builder.Errors();
    return errors.empty() ? WriteBytes(builder.Table()) : "error: " + errors[0].Describe("dump");
}

// Each byte of the texts that the code page leaves undefined replaced by the next one it defines.
TilesetTable WithDefinedBytesOnly(TilesetTable table, const CodePageTable* page)
{
    const auto define = [page](char& c) {
        while (CodePage::CharacterOf(*page, static_cast<unsigned char>(c)) == CodePage::NO_CHARACTER) {
            c = static_cast<char>(0x80 | (static_cast<unsigned char>(c) + 1));
        }
    };
    for (int i = 0; page != nullptr && i < table.RecordCount(); ++i) {
        std::string name = NameOf(table.RecordAt(i));
        std::for_each(name.begin(), name.end(), define);
        SetName(table.RecordAt(i), name);
        for (char(&slot)[NAME_FIELD_SIZE] : table.RecordAt(i).slots) {
            std::for_each(slot, slot + NAME_FIELD_SIZE, define);
        }
    }
    return table;
}

// False for a file that the editor refuses (more slots than a tileset holds).
// In a code page, JSON refuses a table with a byte that the page leaves
// undefined: the JSON round trip takes the table with such bytes replaced.
bool ExpectRoundTrip(const std::string& bytes, const std::string& name, const CodePageTable* page = nullptr)
{
    TilesetTable table;
    NameList names;
    if (!ReadBytes(bytes, table, names).Succeeded()) {
        return false;
    }
    const std::string saved = WriteBytes(table);
    EXPECT_EQ(Built(TextDumpOf(table, page), TableText::Read, page), saved) << name << " as text";
    const TilesetTable defined = WithDefinedBytesOnly(table, page);
    const bool refused = page != nullptr && !TableJson::ByteWithoutCharacter(table, *page).empty();
    EXPECT_EQ(refused, WriteBytes(defined) != saved) << name;
    EXPECT_EQ(Built(JsonDumpOf(defined, page), TableJson::Read, page), WriteBytes(defined)) << name << " as JSON";
    EXPECT_EQ(Built(CsvDumpOf(defined, page), TableCsv::Read, page), WriteBytes(defined)) << name << " as CSV";
    return true;
}

class TableRoundTripRun : public ::testing::TestWithParam<unsigned> {};

TEST_P(TableRoundTripRun, BuildOfTheDumpIsTheEditorsSaveForGeneratedFiles)
{
    std::mt19937 random(GetParam());
    int loaded = 0;
    for (int n = 0; n < GENERATED_FILES_A_RUN && !HasFailure(); ++n) {
        loaded += ExpectRoundTrip(RandomFile(random), "generated file " + std::to_string(n));
    }
    // The generator's files with too many slots are refused by the editor; all others count.
    EXPECT_GT(loaded, GENERATED_FILES_A_RUN * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableRoundTripRun, ::testing::Values(20240612u, 1u, 151u, 255u));

class CodePageRoundTrip : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CodePageRoundTrip, BuildOfTheDumpInTheCodePageIsTheEditorsSaveForGeneratedFiles)
{
    const CodePageTable& page = CODE_PAGE_TABLES[GetParam()];
    std::mt19937 random(page.number);
    for (int n = 0; n < GENERATED_FILES_A_RUN / 5 && !HasFailure(); ++n) {
        ExpectRoundTrip(RandomFile(random), "generated file " + std::to_string(n), &page);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCodePage, CodePageRoundTrip, ::testing::Range<std::size_t>(0, CODE_PAGE_TABLE_COUNT));

TEST(TableRoundTrip, BuildOfTheDumpIsTheEditorsSaveForTheFuzzerSeeds)
{
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry : std::filesystem::directory_iterator("fuzz-corpus")) {
        seeds.push_back(entry.path());
    }
    std::sort(seeds.begin(), seeds.end());
    int loaded = 0;
    for (const std::filesystem::path& seed : seeds) {
        loaded += ExpectRoundTrip(ReadFileBytes(seed.string()), seed.filename().string());
    }
    EXPECT_GE(seeds.size(), 9u);
    // Only the seed with more slots than a tileset holds is refused.
    EXPECT_EQ(loaded, static_cast<int>(seeds.size()) - 1);
}

// The load, the checker and the raw dump walk one view of the bytes: the raw
// dump is the start of the loaded table's dump, with one block for each name
// the load listed, and the checker finds fault only in entries the file holds.
TEST(TableRoundTrip, LoadCheckAndRawDumpAgreeOnTheFuzzerSeeds)
{
    for (const auto& entry : std::filesystem::directory_iterator("fuzz-corpus")) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = ReadFileBytes(entry.path().string());
        std::ostringstream raw;
        TableText::WriteEntries(bytes, nullptr, raw);
        std::size_t blocks = 0;
        for (std::size_t at = raw.str().find("\ntileset "); at != std::string::npos;
             at = raw.str().find("\ntileset ", at + 1)) {
            ++blocks;
        }
        for (const TilesetFileProblem& problem : TilesetFileCheck::Check(bytes)) {
            EXPECT_LT(problem.tileset, static_cast<int>(blocks) + (problem.kind == TILESET_PROBLEM_ENTRY_CUT_SHORT));
        }
        TilesetTable table;
        NameList names;
        if (ReadBytes(bytes, table, names).Succeeded()) {
            EXPECT_EQ(names.names.size(), blocks);
            EXPECT_EQ(TextDumpOf(table).compare(0, raw.str().size(), raw.str()), 0);
        }
    }
}

} // namespace
