#include "data/FileSnapshot.h"
#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(FileSnapshot, CompareTellsWhatAnotherProgramDid)
{
    const FileSnapshot unreadable{true, false, false, {}};
    const struct {
        FileSnapshot remembered;
        FileSnapshot now;
        DiskChange change;
    } cases[] = {
        {FileSnapshots::Missing(), FileSnapshots::Missing(), DISK_UNCHANGED},
        {FileSnapshots::Missing(), FileSnapshots::Of(""), DISK_CREATED},
        {FileSnapshots::Of("table"), FileSnapshots::Of("table"), DISK_UNCHANGED},
        {FileSnapshots::Of("table"), FileSnapshots::Of("tablf"), DISK_CHANGED},
        {FileSnapshots::Of("table"), FileSnapshots::Of("table!"), DISK_CHANGED},
        {FileSnapshots::Of("table"), unreadable, DISK_CHANGED},
        {FileSnapshots::Of("table"), FileSnapshots::Missing(), DISK_DELETED},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileSnapshots::Compare(c.remembered, c.now), c.change);
    }
}

// The load and the save remember what the file holds after them, a missing
// file included; a table that never met its file remembers nothing.
TEST(FileSnapshot, LoadAndSaveRememberWhatTheFileHolds)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    TilesetTable missing;
    NameList names;
    TilesetFile::Load(path, missing, names);
    EXPECT_EQ(missing.RememberedFile(), FileSnapshots::Missing());

    WriteFileBytes(path, UNEDITED_FILE);
    TilesetTable table;
    ASSERT_TRUE(LoadAndEdit(path, table).Succeeded());
    EXPECT_EQ(table.RememberedFile(), FileSnapshots::Of(UNEDITED_FILE));
    ASSERT_TRUE(TilesetFile::Save(path, table).Succeeded());
    EXPECT_EQ(table.RememberedFile(), FileSnapshots::Read(path));
    EXPECT_EQ(table.RememberedFile(), FileSnapshots::Of(EDITED_FILE));

    std::remove(path.c_str());
    EXPECT_EQ(FileSnapshots::Read(path), FileSnapshots::Missing());
    EXPECT_FALSE(TilesetTable().RememberedFile().has_value());
}

// Whatever follows the largest table is never read; the checker counts it from
// the file's size as bytes after the last entry.
TEST(TilesetFileLoad, ResultHoldsTheCheckersProblemsOfTheBytesReadAndNoMoreIsRead)
{
    const std::string largest = Header(255, 151) + std::string(SAVED_ENTRY_BYTES * 255, '\0');
    const struct {
        std::string file;
        int tilesets;
        const char* problem;
        std::size_t bytesRead;
    } cases[] = {
        {UNEDITED_FILE + "tail", 1, "4 bytes follow the last entry", UNEDITED_FILE.size() + 4},
        {largest + std::string(1 << 20, 'x'), 255, "1048576 bytes follow the last entry", largest.size() + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        const TemporaryFolder folder;
        WriteFileBytes(folder.Path(TILESET_FILE_NAME), c.file);
        TilesetTable table;
        NameList names;
        const TilesetFileResult result = TilesetFile::Load(folder.Path(TILESET_FILE_NAME), table, names);
        EXPECT_EQ(result.Status(), TILESET_FILE_LOADED);
        EXPECT_EQ(table.RecordCount(), c.tilesets);
        ASSERT_EQ(result.Problems().size(), 1u);
        EXPECT_EQ(result.Problems()[0].Description(), c.problem);
        EXPECT_EQ(table.RememberedFile()->bytes.size(), c.bytesRead);
    }
}

} // namespace
