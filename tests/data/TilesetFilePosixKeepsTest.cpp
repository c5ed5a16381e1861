#include "data/FileKind.h"
#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

const uid_t NOBODY = 65534;

std::string Table(const std::string& folder)
{
    return folder + "/" + TILESET_FILE_NAME;
}

std::string PlainFile(const std::string& path, uid_t owner, mode_t mode)
{
    WriteFileBytes(path, UNEDITED_FILE);
    return chown(path.c_str(), owner, owner) == 0 && chmod(path.c_str(), mode) == 0 ? path : "";
}

// The save's status from a child process that became the user and group nobody, as only root may.
int SaveAsNobody(const std::string& path, TilesetTable& table)
{
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setresgid(NOBODY, NOBODY, NOBODY) == 0 &&
                             setresuid(NOBODY, NOBODY, NOBODY) == 0;
        _exit(dropped ? TilesetFile::Save(path, table).Status() : 255);
    }
    int status = 255;
    waitpid(child, &status, 0);
    return WEXITSTATUS(status);
}

std::string StateOf(const std::string& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    const std::string content = ReadFileBytes(path);
    std::ostringstream state;
    state << status.st_uid << ':' << status.st_gid << ' ' << std::oct << (status.st_mode & 0777) << std::dec << ' '
          << status.st_nlink << ' '
          << (content == EDITED_FILE     ? "edited"
              : content == UNEDITED_FILE ? "unedited"
                                         : "");
    return state.str();
}

struct RefusedKind {
    const char* reason;
    FileKind kind;
    // Makes what the save finds and returns the path to save to.
    std::string (*make)(const std::string& folder);
};

const RefusedKind REFUSED_KINDS[] = {
    {"is a named pipe, not a file", FILE_KIND_PIPE,
     [](const std::string& f) {
         mkfifo(Table(f).c_str(), 0666);
         return Table(f);
     }},
    {"is a device, not a file", FILE_KIND_DEVICE,
     [](const std::string& f) {
         fs::create_symlink("/dev/null", Table(f));
         return Table(f);
     }},
    {"is a loop of symbolic links", FILE_KIND_LINK_LOOP,
     [](const std::string& f) {
         fs::create_symlink(TILESET_FILE_NAME, f + "/loop");
         fs::create_symlink("loop", Table(f));
         return Table(f);
     }},
};

TEST(TilesetFileSaveTarget, WhatIsNotAPlainFileIsRefusedWithItsReasonAndLeftAsItWas)
{
    for (const RefusedKind& test : REFUSED_KINDS) {
        SCOPED_TRACE(test.reason);
        const TemporaryFolder folder;
        const std::string path = test.make(folder.Path());
        const Names before = folder.Entries();
        TilesetTable table;
        table.modified = true;

        const TilesetFileResult result = TilesetFile::Save(path, table);
        EXPECT_EQ(result.Status(), TILESET_FILE_NOT_REPLACEABLE);
        EXPECT_EQ(result.Reason(), test.reason);
        EXPECT_EQ(KindOfFile(path), test.kind);
        EXPECT_EQ(folder.Entries(), before);
    }
}

struct OwnedFile {
    const char* name;
    std::string (*make)(const std::string& folder);
    bool savedByNobody;
    TilesetFileStatus status;
    // Owner and group, permissions, names, and content afterwards.
    const char* after;
};

// Nobody writes into root's file in place, which keeps its owner; so are a
// file of two names written, and the name too long for a temporary suffix.
const OwnedFile OWNED_FILES[] = {
    {"root's 644 file", [](const std::string& f) { return PlainFile(Table(f), 0, 0644); }, true,
     TILESET_FILE_NOT_PERMITTED, "0:0 644 1 unedited"},
    {"root's 666 file", [](const std::string& f) { return PlainFile(Table(f), 0, 0666); }, true, TILESET_FILE_SAVED,
     "0:0 666 1 edited"},
    {"nobody's 640 file", [](const std::string& f) { return PlainFile(Table(f), NOBODY, 0640); }, false,
     TILESET_FILE_SAVED, "65534:65534 640 1 edited"},
    {"a file of two names",
     [](const std::string& f) {
         fs::create_hard_link(PlainFile(Table(f), 0, 0644), f + "/b");
         return Table(f);
     },
     false, TILESET_FILE_SAVED, "0:0 644 2 edited"},
    {"the longest name", [](const std::string& f) { return PlainFile(f + "/" + std::string(255, 'n'), 0, 0644); },
     false, TILESET_FILE_SAVED, "0:0 644 1 edited"},
};

TEST(TilesetFileSaveTarget, OwnerGroupPermissionsAndNamesStayAndOnlyThisUsersRightsCount)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving files to another user and becoming nobody need root";
    }
    for (const OwnedFile& test : OWNED_FILES) {
        SCOPED_TRACE(test.name);
        const TemporaryFolder folder;
        fs::permissions(folder.Path(), fs::perms::all);
        const std::string path = test.make(folder.Path());
        const Names before = folder.Entries();
        TilesetTable table;
        ASSERT_TRUE(LoadAndEdit(path, table).Succeeded());

        const int status = test.savedByNobody ? SaveAsNobody(path, table) : TilesetFile::Save(path, table).Status();
        EXPECT_EQ(status, test.status);
        EXPECT_EQ(StateOf(path), test.after);
        EXPECT_EQ(folder.Entries(), before);
    }
}

} // namespace
