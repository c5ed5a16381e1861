#include "data/TilesetTable.h"
#include "tools/TableComparison.h"
#include "tools/ToolFiles.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;

const std::string BASE = "tilesets 4\n"
                         "tileset 0\n name \"Grassland\"\n ambient 3\n slot 4 \"dirt path\"\n"
                         "tileset 1\n name \"Desert\"\n ambient 255\n slot 0 \"sand\"\n"
                         "tileset 2\n name \"\"\ntileset 3\n name \"\"\n";
// A game update that put a tileset before the others.
const std::string UPDATED =
    "tilesets 5\ntileset 0\n name \"Swamp\"\n" +
    ReplaceAll(ReplaceAll(ReplaceAll(ReplaceAll(BASE.substr(11), "tileset 3", "tileset 4"), "tileset 2", "tileset 3"),
                          "tileset 1", "tileset 2"),
               "tileset 0", "tileset 1");
const std::string DUNES_APPLIED =
    ReplaceAll(ReplaceAll(ReplaceAll(BASE, "\"Desert\"", "\"Dunes\""), "\"sand\"", "\"dust\""), "255", "7");

const std::string HEADER = "kestrivane patch 1\n";
const std::string GRAVEL = HEADER + "tileset 0 \"Grassland\" slot 4: \"dirt path\" -> \"gravel path\"\n";
const std::string STONE = HEADER + "tileset 0 \"Grassland\" slot 4: \"dirt path\" -> \"stone path\"\n";
const std::string QUIET = HEADER + "# quieter\ntileset 1 \"Desert\" ambient: 255 -> 7\n";
const std::string DUNES = HEADER + "tileset 1 \"Desert\" name: \"Desert\" -> \"Dunes\"\n"
                                   "tileset 1 \"Desert\" slot 0: \"sand\" -> \"dust\"\n";
const std::string STALE = HEADER + "tileset 1 \"Desert\" slot 0: \"gravel\" -> \"dust\"\n";
const std::string SWAMP = HEADER + "tileset 2 \"Swamp\" slot 0: \"\" -> \"mud\"\n";
const std::string UNNAMED = HEADER + "tileset 9 \"\" slot 1: \"\" -> \"reed\"\n";
const std::string LETTERS = "\xEF\xBB\xBFkestrivane patch 1 code-page 1252\r\n"
                            "tileset 0 \"Grassland\" slot 4: \"dirt path\" -> \"caf\xC3\xA9\"\r\n"
                            "tileset 1 \"Desert\" slot 0: \"cr\xC3\xAApe\" -> \"d\xC3\xBCne\"\r\n";

const Lines GRAVEL_CHANGES = {"tileset 0 slot 4: \"dirt path\" -> \"gravel path\""};
const Lines DUNES_CHANGES = {"tileset 1 name: \"Desert\" -> \"Dunes\"", "tileset 1 slot 0: \"sand\" -> \"dust\""};
const Lines QUIET_CHANGES = {"tileset 1 ambient: 255 -> 7"};

Lines Joined(Lines lines, const Lines& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

struct ApplyCase {
    const char* what;
    // The dump of the table the patches are applied onto.
    std::string table;
    Lines patches;
    Args options;
    TableToolExitCode code;
    std::string listed;
    std::string errors;
    // From the table to the result; none: the table's file is not written.
    Lines changes;
};

void PrintTo(const ApplyCase& applyCase, std::ostream* out)
{
    *out << applyCase.what;
}

class TableApply : public ::testing::TestWithParam<ApplyCase> {};

TilesetTable Loaded(const std::string& path)
{
    TilesetTable table;
    std::istringstream none;
    std::string reason;
    EXPECT_TRUE(ToolFiles::Load(path, none, table, reason)) << reason;
    return table;
}

TilesetTable TableFromDump(const std::string& dump, const TemporaryFolder& folder)
{
    const std::string path = folder.Path("built.dat");
    EXPECT_EQ(RunTool({"build", "-", "-o", path}, dump).code, TABLE_TOOL_EXIT_OK);
    return Loaded(path);
}

// The table's file ends in a byte after its last entry, which a save drops:
// so its bytes tell whether it was written.
TEST_P(TableApply, ChangesListsAndExitsByTheRules)
{
    const ApplyCase& applyCase = GetParam();
    const TemporaryFolder folder;
    const std::string tablePath = folder.Path("t.dat");
    const std::string before = WriteBytes(TableFromDump(applyCase.table, folder)) + "!";
    WriteFileBytes(tablePath, before);
    Args args = {"apply", "-t", tablePath};
    args.insert(args.end(), applyCase.options.begin(), applyCase.options.end());
    for (std::size_t k = 0; k < applyCase.patches.size(); ++k) {
        const std::string name = "p" + std::to_string(k + 1) + ".patch";
        WriteFileBytes(folder.Path(name), applyCase.patches[k]);
        args.push_back(folder.Path(name));
    }

    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.code, applyCase.code);
    EXPECT_EQ(ReplaceAll(run.out, folder.Path(""), ""), applyCase.listed);
    EXPECT_EQ(ReplaceAll(run.err, folder.Path(""), ""), applyCase.errors);
    if (applyCase.changes.empty()) {
        EXPECT_EQ(ReadFileBytes(tablePath), before);
        return;
    }
    const TilesetTable result = Loaded(tablePath);
    EXPECT_EQ(ReadFileBytes(tablePath), WriteBytes(result));
    EXPECT_EQ(TableComparison::Differences(TableFromDump(applyCase.table, folder), result, nullptr),
              applyCase.changes);
}

INSTANTIATE_TEST_SUITE_P(
    LoadOrders, TableApply,
    ::testing::Values(
        ApplyCase{
            "applied", BASE, {GRAVEL, QUIET}, {}, TABLE_TOOL_EXIT_OK, "", "", Joined(GRAVEL_CHANGES, QUIET_CHANGES)},
        ApplyCase{"already applied", BASE, {GRAVEL, GRAVEL}, {}, TABLE_TOOL_EXIT_OK, "", "", GRAVEL_CHANGES},
        ApplyCase{"overrides",
                  BASE,
                  {GRAVEL, STONE},
                  {},
                  TABLE_TOOL_EXIT_OK,
                  "overrides: p2.patch:2: tileset 0 \"Grassland\" slot 4: \"stone path\" replaces \"gravel path\" "
                  "from p1.patch:2\n",
                  "",
                  {"tileset 0 slot 4: \"dirt path\" -> \"stone path\""}},
        ApplyCase{"conflict, the rest applied",
                  BASE,
                  {STALE, QUIET},
                  {},
                  TABLE_TOOL_EXIT_PROBLEMS,
                  "conflict: p1.patch:2: tileset 1 \"Desert\" slot 0: the patch changes \"gravel\" -> \"dust\", but "
                  "the table holds \"sand\", which it keeps\n",
                  "",
                  QUIET_CHANGES},
        ApplyCase{"not found, nothing written as nothing changed",
                  BASE,
                  {SWAMP},
                  {},
                  TABLE_TOOL_EXIT_PROBLEMS,
                  "not found: p1.patch:2: tileset 2 \"Swamp\" slot 0: no tileset is named \"Swamp\"\n",
                  "",
                  {}},
        ApplyCase{"ambiguous",
                  BASE,
                  {UNNAMED},
                  {},
                  TABLE_TOOL_EXIT_PROBLEMS,
                  "ambiguous: p1.patch:2: tileset 9 \"\" slot 1: 2 tilesets are named \"\", and tileset 9 is not one "
                  "of them\n",
                  "",
                  {}},
        ApplyCase{"moved by a game update",
                  UPDATED,
                  {GRAVEL, DUNES},
                  {},
                  TABLE_TOOL_EXIT_OK,
                  "",
                  "",
                  {"tileset 1 slot 4: \"dirt path\" -> \"gravel path\"", "tileset 2 name: \"Desert\" -> \"Dunes\"",
                   "tileset 2 slot 0: \"sand\" -> \"dust\""}},
        ApplyCase{"a rename and a slot, and a later patch by the old name",
                  BASE,
                  {DUNES, QUIET},
                  {},
                  TABLE_TOOL_EXIT_OK,
                  "",
                  "",
                  {DUNES_CHANGES[0], QUIET_CHANGES[0], DUNES_CHANGES[1]}},
        ApplyCase{"reversed, last to first",
                  DUNES_APPLIED,
                  {DUNES, QUIET},
                  {"--reverse"},
                  TABLE_TOOL_EXIT_OK,
                  "",
                  "",
                  {"tileset 1 name: \"Dunes\" -> \"Desert\"", "tileset 1 ambient: 7 -> 255",
                   "tileset 1 slot 0: \"dust\" -> \"sand\""}},
        ApplyCase{"reversed onto a table without it", BASE, {GRAVEL}, {"--reverse"}, TABLE_TOOL_EXIT_OK, "", "", {}},
        ApplyCase{"check writes nothing",
                  BASE,
                  {GRAVEL, STONE, STALE, GRAVEL},
                  {"--check"},
                  TABLE_TOOL_EXIT_PROBLEMS,
                  "p1.patch: 1 apply, 0 already applied, 0 override, 0 conflict, 0 do not apply\n"
                  "p2.patch: 0 apply, 0 already applied, 1 override, 0 conflict, 0 do not apply\n"
                  "p3.patch: 0 apply, 0 already applied, 0 override, 1 conflict, 0 do not apply\n"
                  "p4.patch: 0 apply, 0 already applied, 1 override, 0 conflict, 0 do not apply\n"
                  "overrides: p2.patch:2: tileset 0 \"Grassland\" slot 4: \"stone path\" replaces \"gravel path\" "
                  "from p1.patch:2\n"
                  "conflict: p3.patch:2: tileset 1 \"Desert\" slot 0: the patch changes \"gravel\" -> \"dust\", but "
                  "the table holds \"sand\", which it keeps\n"
                  "overrides: p4.patch:2: tileset 0 \"Grassland\" slot 4: \"gravel path\" replaces \"stone path\" "
                  "from p2.patch:2\n",
                  "",
                  {}},
        ApplyCase{"letters of the header's code page",
                  BASE,
                  {LETTERS},
                  {},
                  TABLE_TOOL_EXIT_PROBLEMS,
                  "conflict: p1.patch:3: tileset 1 \"Desert\" slot 0: the patch changes \"cr\xC3\xAApe\" -> "
                  "\"d\xC3\xBCne\", but the table holds \"sand\", which it keeps\n",
                  "",
                  {"tileset 0 slot 4: \"dirt path\" -> \"caf\\xE9\""}},
        ApplyCase{"letters of --code-page",
                  BASE,
                  {HEADER + "tileset 0 \"Grassland\" slot 4: \"dirt path\" -> \"\xC3\xA9t\xC3\xA9\"\n"},
                  {"--code-page", "1252"},
                  TABLE_TOOL_EXIT_OK,
                  "",
                  "",
                  {"tileset 0 slot 4: \"dirt path\" -> \"\\xE9t\\xE9\""}},
        ApplyCase{"a --code-page that contradicts the header",
                  BASE,
                  {LETTERS},
                  {"--code-page", "1251"},
                  TABLE_TOOL_EXIT_FAILED,
                  "",
                  "kestrivane-table: p1.patch:1:33: the patch is in code page 1252, but --code-page gives 1251\n"
                  "kestrivane-table: t.dat: not written: p1.patch has 1 error\n",
                  {}},
        ApplyCase{"malformed: nothing written",
                  BASE,
                  {GRAVEL,
                   GRAVEL + "tileset 0 \"Grassland\" slot 4: \"a\" -> \"b\"\n"
                            "tileset 1 \"Desert\" name: \"Dunes\" -> \"Sand\"\n"
                            "tileset 1 \"Desert\" ambient: 4 -> 4\n",
                   "kestrivane patch 2\n"},
                  {},
                  TABLE_TOOL_EXIT_FAILED,
                  "",
                  "kestrivane-table: p2.patch:3:22: tileset 0 slot 4 is given twice, first on line 2\n"
                  "kestrivane-table: p2.patch:4:26: the old name \"Dunes\" is not the tileset's name \"Desert\" that "
                  "the line gives\n"
                  "kestrivane-table: p2.patch:5:34: the old and the new value are the same\n"
                  "kestrivane-table: t.dat: not written: p2.patch has 3 errors\n"
                  "kestrivane-table: p3.patch:1:18: patch version 2: this tool reads version 1\n"
                  "kestrivane-table: t.dat: not written: p3.patch has 1 error\n",
                  {}}));

// Tables of a few tilesets whose names often repeat, and texts of every kind of byte.
class TableGenerator {
public:
    explicit TableGenerator(unsigned seed) : random(seed) {}

    TilesetTable Table()
    {
        TilesetTable table;
        table.SetRecordCount(Pick(1, 6));
        for (int i = 0; i < table.RecordCount(); ++i) {
            SetName(table.RecordAt(i), Text());
            table.RecordAt(i).ambient = static_cast<uint8_t>(Pick(0, 255));
            for (int slot = 0; slot < SLOTS_PER_TILESET; slot += Pick(1, 40)) {
                SetSlot(table.RecordAt(i), slot, Text());
            }
        }
        return table;
    }

    // Each field of the table changed, by one of two sides or by none.
    void Change(TilesetTable& first, TilesetTable& second)
    {
        for (int i = 0; i < first.RecordCount(); ++i) {
            for (int field = -2; field < SLOTS_PER_TILESET; ++field) {
                const int side = Pick(0, 5);
                if (side < 2) {
                    ChangeField(side == 0 ? first.RecordAt(i) : second.RecordAt(i), field);
                }
            }
        }
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::string Text()
    {
        static const char* const TEXTS[] = {"", "Desert", "Caf\xE9", "a \"b\" \\c", "\x01\x7F\xFF", "x"};
        return Pick(0, 3) == 0 ? std::string(static_cast<std::size_t>(Pick(1, 31)), static_cast<char>(Pick(1, 255)))
                               : TEXTS[Pick(0, 5)];
    }

    void ChangeField(TilesetRecord& record, int field)
    {
        if (field == -2) {
            SetName(record, Text());
        } else if (field == -1) {
            record.ambient = static_cast<uint8_t>(Pick(0, 255));
        } else {
            SetSlot(record, field, Text());
        }
    }

    std::mt19937 random;
};

// Over generated tables: a patch applied gives exactly what build gives of
// the changed table's dump, reversed gives the base again, and two patches
// of different fields give the same table in either order.
TEST(TablePatchProperty, ApplyingRebuildsReversingRestoresAndOrderDoesNotMatter)
{
    const TemporaryFolder folder;
    const auto path = [&folder](const char* name) { return folder.Path(name); };
    for (unsigned seed = 1; seed <= 25; ++seed) {
        TableGenerator generator(seed);
        const TilesetTable base = generator.Table();
        TilesetTable first = base;
        TilesetTable second = base;
        generator.Change(first, second);
        TilesetTable both = first;
        generator.Change(both, both);
        WriteFileBytes(path("base.dat"), WriteBytes(base));
        WriteFileBytes(path("first.dat"), WriteBytes(first));
        WriteFileBytes(path("second.dat"), WriteBytes(second));
        ASSERT_EQ(RunTool({"patch", path("base.dat"), path("first.dat"), "-o", path("1.patch")}).code,
                  TABLE_TOOL_EXIT_OK);
        ASSERT_EQ(RunTool({"patch", path("base.dat"), path("second.dat"), "-o", path("2.patch")}).code,
                  TABLE_TOOL_EXIT_OK);
        ASSERT_EQ(RunTool({"build", "-", "-o", path("built.dat")}, TextDumpOf(first)).code, TABLE_TOOL_EXIT_OK);

        WriteFileBytes(path("t.dat"), WriteBytes(base));
        EXPECT_EQ(RunTool({"apply", "-t", path("t.dat"), path("1.patch")}).code, TABLE_TOOL_EXIT_OK) << seed;
        EXPECT_TRUE(ReadFileBytes(path("t.dat")) == ReadFileBytes(path("built.dat"))) << seed;
        EXPECT_EQ(RunTool({"apply", "--reverse", "-t", path("t.dat"), path("1.patch")}).code, TABLE_TOOL_EXIT_OK);
        EXPECT_TRUE(ReadFileBytes(path("t.dat")) == WriteBytes(base)) << seed;

        const Args inOrder = {"apply", "-t", path("base.dat"), "-o", path("12.dat"), path("1.patch"), path("2.patch")};
        const Args reversed = {"apply",         "-t",           path("base.dat"), "-o", path("21.dat"),
                               path("2.patch"), path("1.patch")};
        EXPECT_EQ(RunTool(inOrder).code, TABLE_TOOL_EXIT_OK) << seed;
        EXPECT_EQ(RunTool(reversed).code, TABLE_TOOL_EXIT_OK) << seed;
        EXPECT_TRUE(ReadFileBytes(path("12.dat")) == ReadFileBytes(path("21.dat"))) << seed;
    }
}

} // namespace
