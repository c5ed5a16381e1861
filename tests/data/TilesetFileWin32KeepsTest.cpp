#include "data/CommitFile.h"
#include "data/FileKind.h"
#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/UnixLink.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

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

// What Wine shows of the Unix bits: the owner's access and everyone's, none here.
std::string AccessList(const std::string& path)
{
    char descriptor[4096];
    DWORD needed = 0;
    char* text = nullptr;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor, &needed);
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                         nullptr);
    const std::string list = text != nullptr ? text : "unreadable";
    LocalFree(text);
    return list;
}

// The table file after the Linux side ran command on it; false where it cannot run.
bool ChangedByUnix(const TemporaryFolder& folder, const std::string& command)
{
    WriteFileBytes(folder.Path(TILESET_FILE_NAME), UNEDITED_FILE);
    return RunUnixCommand(folder.Path(), command) == 0;
}

TEST(TilesetFileSaveKeeps, NewFileTakesTheTablesAccessList)
{
    const TemporaryFolder folder;
    if (!ChangedByUnix(folder, "chmod 600 qx7set.dat")) {
        GTEST_SKIP() << "no private file: making one needs Wine's start of Linux programs";
    }
    const TempFile temp = WriteTempFile(folder.Path(TILESET_FILE_NAME), "new");
    ASSERT_TRUE(temp.Written()) << temp.Reason();
    EXPECT_EQ(AccessList(temp.Path()), AccessList(folder.Path(TILESET_FILE_NAME)));
}

// A Windows program cannot give a new file these under Wine, so the table is written in place.
TEST(TilesetFileSaveKeeps, UnderWineTheUnixOwnerGroupAndPermissionBitsStay)
{
    const TemporaryFolder folder;
    if (!ChangedByUnix(folder, "chown 65534:65534 qx7set.dat && chmod 600 qx7set.dat")) {
        GTEST_SKIP() << "no file of another user: making one needs Wine's start of Linux programs, and root";
    }
    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(folder.Path(TILESET_FILE_NAME), table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(ReadFileBytes(folder.Path(TILESET_FILE_NAME)), EDITED_FILE);
    EXPECT_EQ(RunUnixCommand(folder.Path(), "test $(stat -c %u:%g:%a qx7set.dat) = 65534:65534:600"), 0);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

struct WindowsKind {
    // A Linux command that makes it in the folder, or null for a name Windows knows.
    const char* make;
    const char* path;
    FileKind kind;
};

// The C library here takes each of them for a missing file.
const WindowsKind WINDOWS_KINDS[] = {
    {nullptr, "NUL", FILE_KIND_DEVICE},
    {"ln -s /dev/null qx7set.dat", TILESET_FILE_NAME, FILE_KIND_DEVICE},
    {"mkfifo qx7set.dat", TILESET_FILE_NAME, FILE_KIND_PIPE},
    {"ln -s loop qx7set.dat && ln -s qx7set.dat loop", TILESET_FILE_NAME, FILE_KIND_LINK_LOOP},
};

// Wine deletes no link whose target is not a file: the Linux side removes what it made.
TEST(TilesetFileSaveTarget, DevicesPipesAndLinkLoopsAreToldAndRefused)
{
    for (const WindowsKind& test : WINDOWS_KINDS) {
        SCOPED_TRACE(test.make != nullptr ? test.make : test.path);
        const TemporaryFolder folder;
        if (test.make != nullptr && RunUnixCommand(folder.Path(), test.make) != 0) {
            continue;
        }
        const std::string path = test.make != nullptr ? folder.Path(test.path) : test.path;
        TilesetTable table;
        table.modified = true;

        EXPECT_EQ(KindOfFile(path), test.kind);
        EXPECT_EQ(TilesetFile::Save(path, table).Status(), TILESET_FILE_NOT_REPLACEABLE);
        EXPECT_EQ(KindOfFile(path), test.kind);
        RunUnixCommand(folder.Path(), "rm -f qx7set.dat loop");
    }
}

// The ANSI calls take paths of fewer than MAX_PATH characters, so the new file
// of a table whose path is as long as that gets a shorter name.
TEST(TilesetFileSaveTarget, TableOfTheLongestPathIsSaved)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(std::string(MAX_PATH - 2 - folder.Path().size(), 'n'));
    WriteFileBytes(path, UNEDITED_FILE);

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries().size(), 1u);
}

} // namespace
