#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/ScratchFolder.h"
#include "tests/data/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Names = std::vector<std::string>;

const std::string OLD_FILE = Header(1, 151) + Entry("Old", 3, {"kept"}, 151);

// A loaded table with an unsaved slot rename.
void LoadAndEdit(const std::string& path, TilesetTable& table)
{
    NameList names;
    ASSERT_TRUE(TilesetFile::Load(path, table, names).Succeeded());
    SetSlot(table.RecordAt(0), 0, "renamed");
    table.modified = true;
}

void ExpectSaveFailureMessage(const TilesetFileResult& result)
{
    EXPECT_NE(result.Message().find("\"" + result.FileName() + "\""), std::string::npos) << result.Message();
    EXPECT_NE(result.Message().find("The file was left as it was."), std::string::npos) << result.Message();
}

TEST(TilesetFileSave, WritesTheTableInPlaceOfTheFileAndClearsModified)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, OLD_FILE);
    TilesetTable table;
    LoadAndEdit(path, table);

    const TilesetFileResult result = TilesetFile::Save(path, table);
    EXPECT_EQ(result.Status(), TILESET_FILE_SAVED);
    EXPECT_FALSE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), Header(1, 151) + Entry("Old", 3, {"renamed"}, 151));
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, DefaultFileIsInTheCurrentFolder)
{
    const ScratchFolder folder;
    const std::filesystem::path testFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path(""));
    TilesetTable saved;
    saved.SetRecordCount(1);
    SetName(saved.RecordAt(0), "Here");
    const TilesetFileResult save = TilesetFile::Save(saved);
    TilesetTable loaded;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(loaded, names);
    std::filesystem::current_path(testFolder);

    EXPECT_TRUE(save.Succeeded());
    EXPECT_EQ(save.FileName(), "qx7set.dat");
    EXPECT_TRUE(load.Succeeded());
    EXPECT_EQ(names.names, Names{"Here"});
    EXPECT_EQ(folder.Entries(), Names{"qx7set.dat"});
}

TEST(TilesetFileSave, MissingFileLoadsAsEmptyTableThatSaveCreates)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    TilesetTable table;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(path, table, names);

    EXPECT_TRUE(load.FileNotFound());
    EXPECT_FALSE(load.Succeeded());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_FALSE(table.LoadFailed());
    EXPECT_TRUE(TilesetFile::Save(path, table).Succeeded());
    EXPECT_EQ(ReadFileBytes(path), std::string("\x00\x97\x00\x00\x00", 5));
}

TEST(TilesetFileSave, RefusedFileIsNotOverwritten)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    const std::string refused = Header(1, 152) + Entry("Wide", 1, {"a"}, 152);
    WriteFileBytes(path, refused);
    TilesetTable table;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(path, table, names);
    ASSERT_EQ(load.Status(), TILESET_FILE_TOO_MANY_SLOTS);
    EXPECT_TRUE(table.LoadFailed());
    table.modified = true;

    const TilesetFileResult save = TilesetFile::Save(path, table);
    EXPECT_EQ(save.Status(), TILESET_FILE_NOT_LOADED);
    ExpectSaveFailureMessage(save);
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), refused);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, ReadOnlyFileIsNotReplaced)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, OLD_FILE);
    TilesetTable table;
    LoadAndEdit(path, table);
    MakeReadOnly(path);

    const TilesetFileResult result = TilesetFile::Save(path, table);
    EXPECT_EQ(result.Status(), TILESET_FILE_READ_ONLY);
    ExpectSaveFailureMessage(result);
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), OLD_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, FolderInPlaceOfTheFileIsNeitherLoadedNorReplaced)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    std::filesystem::create_directory(path);
    WriteFileBytes(path + "/inside", "x");
    TilesetTable table;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(path, table, names);
    EXPECT_EQ(load.Status(), TILESET_FILE_OPEN_FAILED);
    EXPECT_FALSE(load.Reason().empty());
    EXPECT_TRUE(table.LoadFailed());

    TilesetTable fresh;
    fresh.modified = true;
    const TilesetFileResult save = TilesetFile::Save(path, fresh);
    EXPECT_EQ(save.Status(), TILESET_FILE_REPLACE_FAILED);
    EXPECT_FALSE(save.Reason().empty());
    ExpectSaveFailureMessage(save);
    EXPECT_TRUE(fresh.modified);
    EXPECT_EQ(ReadFileBytes(path + "/inside"), "x");
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, BlockedTemporaryFileFailsTheWriteAndIsLeftAlone)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, OLD_FILE);
    std::filesystem::create_directory(path + ".tmp");
    TilesetTable table;
    LoadAndEdit(path, table);

    const TilesetFileResult result = TilesetFile::Save(path, table);
    EXPECT_EQ(result.Status(), TILESET_FILE_WRITE_FAILED);
    EXPECT_FALSE(result.Reason().empty());
    ExpectSaveFailureMessage(result);
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), OLD_FILE);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".tmp"));
}

} // namespace
