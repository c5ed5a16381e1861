#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/UnixLink.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using Names = std::vector<std::string>;

// What a mod manager gives under Wine: a Linux link in the game's folder to a
// file in the mod's own folder.
TEST(TilesetFileSaveKeeps, LinkedTableStaysALinkAndItsTargetIsReplaced)
{
    const TemporaryFolder folder;
    CreateDirectoryA(folder.Path("game").c_str(), nullptr);
    CreateDirectoryA(folder.Path("mods").c_str(), nullptr);
    WriteFileBytes(folder.Path("mods\\table.dat"), UNEDITED_FILE);
    const UnixLink link(folder.Path("game"), "../mods/table.dat", TILESET_FILE_NAME);
    if (!link.Made()) {
        GTEST_SKIP() << "no Linux symbolic link: making one needs Wine's start of Linux programs";
    }

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(folder.Path("game\\qx7set.dat"), table).Status(), TILESET_FILE_SAVED);
    EXPECT_TRUE(link.IsLink());
    EXPECT_EQ(ReadFileBytes(folder.Path("mods\\table.dat")), EDITED_FILE);
    EXPECT_EQ(folder.Entries("game"), Names{"qx7set.dat"});
    EXPECT_EQ(folder.Entries("mods"), Names{"table.dat"});
}

TEST(TilesetFileSaveKeeps, HiddenAndSystemAttributesStayAndArchiveIsSet)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), kept));
    if ((GetFileAttributesA(path.c_str()) & kept) != kept) {
        GTEST_SKIP() << "the file system here keeps no hidden or system attribute";
    }

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), kept | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

} // namespace
