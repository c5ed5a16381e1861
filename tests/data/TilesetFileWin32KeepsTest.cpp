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

// Under Wine a save takes the replace that real Windows takes only when told
// to; the Unix permission bits of a new file, which Wine cannot set, are
// allowed to differ there.
class TilesetFileSaveKeepsWay : public EachSaveWay {};
INSTANTIATE_TEST_SUITE_P(Way, TilesetFileSaveKeepsWay, testing::Values(SAVE_WAY_REPLACE, SAVE_WAY_IN_PLACE),
                         SaveWayName);

// What a mod manager gives under Wine: a Linux link in the game's folder to a
// file in the mod's own folder.
TEST_P(TilesetFileSaveKeepsWay, LinkedTableStaysALinkAndItsTargetIsReplaced)
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
    EXPECT_EQ(LoadEditAndSave(folder.Path("game\\qx7set.dat"), table, {GetParam()}).Status(), TILESET_FILE_SAVED);
    EXPECT_TRUE(link.IsLink());
    EXPECT_EQ(ReadFileBytes(folder.Path("mods\\table.dat")), EDITED_FILE);
    EXPECT_EQ(folder.Entries("game"), Names{"qx7set.dat"});
    EXPECT_EQ(folder.Entries("mods"), Names{"table.dat"});
}

// What the table's path reads as after the save: none where it leads nowhere.
enum SavedTable { EDITED_TABLE, UNEDITED_TABLE, EMPTY_TABLE, NO_TABLE };

struct LinkCase {
    // Linux commands that make the links, and check the folder after the save.
    const char* make;
    const char* check;
    TilesetFileStatus saved;
    SavedTable table;
};

// A link of the temporary file's name, as a mod's archive may carry, is neither
// removed nor followed to remove the file it leads to, the table itself
// included, whose mode then stays: the save refuses. A link whose end is
// missing gets that end, where its folder exists, and is never replaced by a
// plain file.
const LinkCase LINK_CASES[] = {
    {"mkdir mods && printf theirs > mods/other.dat && ln -s mods/other.dat qx7set.dat.lock",
     "test -L qx7set.dat.lock && test $(cat mods/other.dat) = theirs", TILESET_FILE_WRITE_FAILED, UNEDITED_TABLE},
    {"chmod 600 qx7set.dat && ln -s qx7set.dat qx7set.dat.lock",
     "test -L qx7set.dat.lock && test $(stat -c %a qx7set.dat) = 600", TILESET_FILE_WRITE_FAILED, UNEDITED_TABLE},
    {"rm qx7set.dat && mkdir mods && ln -s mods/nowhere.dat qx7set.dat",
     "test -L qx7set.dat && test -f mods/nowhere.dat && test $(ls | wc -l) = 2", TILESET_FILE_SAVED, EMPTY_TABLE},
    {"rm qx7set.dat && ln -s gone/nowhere.dat qx7set.dat",
     "test -L qx7set.dat && test ! -e gone && test $(ls) = qx7set.dat", TILESET_FILE_NOT_REPLACEABLE, NO_TABLE},
};

TEST_P(TilesetFileSaveKeepsWay, LinksAreNeitherRemovedNorReplacedNorFollowedToRemoveAFile)
{
    for (const LinkCase& test : LINK_CASES) {
        SCOPED_TRACE(test.make);
        const TemporaryFolder folder;
        const std::string path = folder.Path(TILESET_FILE_NAME);
        WriteFileBytes(path, UNEDITED_FILE);
        if (RunUnixCommand(folder.Path(), test.make) != 0) {
            GTEST_SKIP() << "no Linux symbolic link: making one needs Wine's start of Linux programs";
        }
        TilesetTable table;
        NameList names;
        TilesetFile::Load(path, table, names);
        table.modified = true;
        if (table.RecordCount() > 0) {
            SetSlot(table.RecordAt(0), 0, "renamed");
        }

        EXPECT_EQ(TilesetFile::Save(path, table, {GetParam()}).Status(), test.saved);
        EXPECT_EQ(RunUnixCommand(folder.Path(), test.check), 0);
        const std::string saved[] = {EDITED_FILE, UNEDITED_FILE, std::string("\x00\x97\x00\x00\x00", 5)};
        if (test.table != NO_TABLE) {
            EXPECT_EQ(ReadFileBytes(path), saved[test.table]);
        }
        RunUnixCommand(folder.Path(), "rm -rf qx7set.dat* mods");
    }
}

TEST_P(TilesetFileSaveKeepsWay, HiddenAndSystemAttributesStayAndArchiveIsSet)
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
    EXPECT_EQ(LoadEditAndSave(path, table, {GetParam()}).Status(), TILESET_FILE_SAVED);
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

// A replace gives the new file the table's access list, as the write in place keeps it.
TEST_P(TilesetFileSaveKeepsWay, TheTablesAccessListStays)
{
    const TemporaryFolder folder;
    if (!ChangedByUnix(folder, "chmod 600 qx7set.dat")) {
        GTEST_SKIP() << "no private file: making one needs Wine's start of Linux programs";
    }
    const std::string path = folder.Path(TILESET_FILE_NAME);
    const std::string before = AccessList(path);
    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table, {GetParam()}).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(AccessList(path), before);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
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
TEST_P(TilesetFileSaveKeepsWay, TableOfTheLongestPathIsSaved)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(std::string(MAX_PATH - 2 - folder.Path().size(), 'n'));
    WriteFileBytes(path, UNEDITED_FILE);

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table, {GetParam()}).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries().size(), 1u);
}

} // namespace
