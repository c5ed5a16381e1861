#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

// A game folder whose table a mod manager links in from its own folder, through
// a relative link to an absolute one.
TEST(TilesetFileSaveKeeps, LinkedTableStaysALinkAndItsTargetIsReplaced)
{
    const TemporaryFolder folder;
    fs::create_directory(folder.Path("game"));
    fs::create_directory(folder.Path("mods"));
    const std::string target = folder.Path("mods/table.dat");
    WriteFileBytes(target, UNEDITED_FILE);
    fs::create_symlink(fs::absolute(target), folder.Path("mods/current"));
    const std::string path = folder.Path("game/qx7set.dat");
    fs::create_symlink("../mods/current", path);

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(fs::read_symlink(path), "../mods/current");
    EXPECT_EQ(fs::read_symlink(folder.Path("mods/current")), fs::absolute(target));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
    EXPECT_EQ(ReadFileBytes(target), EDITED_FILE);
    EXPECT_EQ(folder.Entries("game"), Names{"qx7set.dat"});
    EXPECT_EQ(folder.Entries("mods"), (Names{"current", "table.dat"}));
}

// A mod that is not installed yet: the save makes the file where the link points.
TEST(TilesetFileSaveKeeps, LinkToAMissingFileGetsItsTarget)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    fs::create_symlink("missing.dat", path);
    TilesetTable table;
    NameList names;
    EXPECT_TRUE(TilesetFile::Load(path, table, names).FileNotFound());

    EXPECT_EQ(TilesetFile::Save(path, table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(fs::read_symlink(path), "missing.dat");
    EXPECT_EQ(ReadFileBytes(folder.Path("missing.dat")), std::string("\x00\x97\x00\x00\x00", 5));
}

TEST(TilesetFileSaveKeeps, PermissionBitsOfTheFileAndOfALinksTarget)
{
    const TemporaryFolder folder;
    const fs::perms ownerAndGroupRead = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    const fs::perms everyoneWrites = fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read |
                                     fs::perms::others_write | fs::perms::set_gid;
    const std::string plain = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(plain, UNEDITED_FILE);
    fs::permissions(plain, ownerAndGroupRead);
    const std::string target = folder.Path("target.dat");
    WriteFileBytes(target, UNEDITED_FILE);
    fs::permissions(target, everyoneWrites);
    const std::string link = folder.Path("link.dat");
    fs::create_symlink("target.dat", link);

    TilesetTable plainTable;
    EXPECT_EQ(LoadEditAndSave(plain, plainTable).Status(), TILESET_FILE_SAVED);
    TilesetTable linkedTable;
    EXPECT_EQ(LoadEditAndSave(link, linkedTable).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(fs::status(plain).permissions(), ownerAndGroupRead);
    EXPECT_EQ(fs::status(target).permissions(), everyoneWrites);
    EXPECT_EQ(ReadFileBytes(plain), EDITED_FILE);
    EXPECT_EQ(ReadFileBytes(target), EDITED_FILE);
}

TEST(TilesetFileSaveKeeps, ReadOnlyTargetOfALinkIsStillRefused)
{
    const TemporaryFolder folder;
    const std::string target = folder.Path("target.dat");
    WriteFileBytes(target, UNEDITED_FILE);
    MakeReadOnly(target);
    const std::string path = folder.Path(TILESET_FILE_NAME);
    fs::create_symlink("target.dat", path);

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table).Status(), TILESET_FILE_READ_ONLY);
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(target), UNEDITED_FILE);
    EXPECT_EQ(fs::read_symlink(path), "target.dat");
    EXPECT_EQ(folder.Entries(), (Names{TILESET_FILE_NAME, "target.dat"}));
}

} // namespace
