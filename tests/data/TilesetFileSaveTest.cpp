#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using Names = std::vector<std::string>;

void ExpectSaveFailureMessage(const TilesetFileResult& result)
{
    EXPECT_NE(result.Message().find("\"" + result.FileName() + "\""), std::string::npos) << result.Message();
    EXPECT_NE(result.Message().find("The file was left as it was."), std::string::npos) << result.Message();
}

class TilesetFileSaveWay : public EachSaveWay {};
INSTANTIATE_TEST_SUITE_P(Way, TilesetFileSaveWay, testing::Values(SAVE_WAY_REPLACE, SAVE_WAY_IN_PLACE), SaveWayName);

TEST_P(TilesetFileSaveWay, WritesTheTableInPlaceOfTheFileAndClearsModified)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    TilesetTable table;
    ASSERT_TRUE(LoadAndEdit(path, table).Succeeded());

    const TilesetFileResult result = TilesetFile::Save(path, table, {GetParam()});
    EXPECT_EQ(result.Status(), TILESET_FILE_SAVED);
    EXPECT_FALSE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, DefaultFileIsInTheCurrentFolder)
{
    const TemporaryFolder folder;
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
    const TemporaryFolder folder;
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
    const TemporaryFolder folder;
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
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    TilesetTable table;
    ASSERT_TRUE(LoadAndEdit(path, table).Succeeded());
    MakeReadOnly(path);

    const TilesetFileResult result = TilesetFile::Save(path, table);
    EXPECT_EQ(result.Status(), TILESET_FILE_READ_ONLY);
    ExpectSaveFailureMessage(result);
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), UNEDITED_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, FolderInPlaceOfTheFileIsNeitherLoadedNorReplaced)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    std::filesystem::create_directory(path);
    WriteFileBytes(path + "/inside", "x");
    TilesetTable table;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(path, table, names);
    EXPECT_EQ(load.Status(), TILESET_FILE_NOT_A_FILE);
    EXPECT_EQ(load.Reason(), "is a folder, not a file");
    EXPECT_TRUE(table.LoadFailed());

    TilesetTable fresh;
    fresh.modified = true;
    const TilesetFileResult save = TilesetFile::Save(path, fresh);
    EXPECT_EQ(save.Status(), TILESET_FILE_NOT_REPLACEABLE);
    EXPECT_EQ(save.Reason(), "is a folder, not a file");
    ExpectSaveFailureMessage(save);
    EXPECT_TRUE(fresh.modified);
    EXPECT_EQ(ReadFileBytes(path + "/inside"), "x");
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSave, UsersFileAndFolderNamedLikeATemporaryFileAreLeftAlone)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    WriteFileBytes(path + ".tmp", "the user's own");
    std::filesystem::create_directory(path + ".bak");
    WriteFileBytes(path + ".bak/inside", "x");
    TilesetTable table;
    ASSERT_TRUE(LoadAndEdit(path, table).Succeeded());

    EXPECT_EQ(TilesetFile::Save(path, table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(ReadFileBytes(path + ".tmp"), "the user's own");
    EXPECT_EQ(ReadFileBytes(path + ".bak/inside"), "x");
    EXPECT_EQ(folder.Entries(), (Names{"qx7set.dat", "qx7set.dat.bak", "qx7set.dat.tmp"}));
}

// A save cut off by a kill leaves its temporary file; the next save removes
// it. A second save of the file while one runs, here within it, waits a moment
// for it and then gives up, and the first goes on.
TEST(TilesetFileSave, LeftoverOfACutOffSaveIsRemovedAndASecondSaveWhileOneRunsIsRefused)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    WriteFileBytes(path + ".lock", Header(2, 151) + Field("Half"));
    TilesetTable table;
    ASSERT_TRUE(LoadAndEdit(path, table).Succeeded());
    std::optional<TilesetFileResult> second;
    SaveOptions options;
    options.reached = [&](SaveStage stage) {
        if (stage == SAVE_STAGE_COPY_PART_WRITTEN) {
            second = SaveFile(path, "second");
        }
    };

    EXPECT_EQ(TilesetFile::Save(path, table, options).Status(), TILESET_FILE_SAVED);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->Status(), TILESET_FILE_SAVE_RUNNING);
    ExpectSaveFailureMessage(*second);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

// A folder of the temporary file's name is no save's: it is left alone, and nothing is written.
TEST(TilesetFileSave, TemporaryFilesNameTakenByAFolderIsToldAndLeftAlone)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    std::filesystem::create_directory(path + ".lock");
    TilesetTable table;
    const TilesetFileResult result = LoadEditAndSave(path, table);

    EXPECT_EQ(result.Status(), TILESET_FILE_WRITE_FAILED);
    EXPECT_EQ(
        result.Reason(),
        "the name of its temporary file, qx7set.dat.lock, is taken by something that no save left; move that away");
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), UNEDITED_FILE);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".lock"));
}

} // namespace
