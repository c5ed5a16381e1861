#include "data/FileKind.h"
#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

const uid_t NOBODY = 65534;
const int CHILD_FAILED = 255;

enum Saver { AS_ROOT, AS_NOBODY };

// The save in a child process that dropped to the user and group nobody, which only root may do.
int SaveAsNobody(const std::string& path, TilesetTable& table)
{
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setresgid(NOBODY, NOBODY, NOBODY) == 0 &&
                             setresuid(NOBODY, NOBODY, NOBODY) == 0;
        _exit(dropped ? TilesetFile::Save(path, table).Status() : CHILD_FAILED);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status)
                                                                                   : CHILD_FAILED;
}

std::string PlainFile(const std::string& folder, const std::string& name, uid_t owner, mode_t mode)
{
    const std::string path = folder + "/" + name;
    WriteFileBytes(path, UNEDITED_FILE);
    if (chown(path.c_str(), owner, owner) != 0 || chmod(path.c_str(), mode) != 0) {
        throw std::runtime_error("cannot set the owner and mode of " + path);
    }
    return path;
}

std::string Table(const std::string& folder)
{
    return folder + "/" + TILESET_FILE_NAME;
}

// Owner, group, permissions, names and content, as a line to compare.
std::string StateOf(const std::string& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    const std::string content = ReadFileBytes(path);
    char state[96];
    std::snprintf(state, sizeof state, "owner %u:%u, mode %o, %u links, %s", unsigned(status.st_uid),
                  unsigned(status.st_gid), unsigned(status.st_mode & 07777), unsigned(status.st_nlink),
                  content == EDITED_FILE ? "edited" : content == UNEDITED_FILE ? "unedited" : "other");
    return state;
}

struct RefusedKind {
    const char* name;
    // Makes what the save finds and returns the path to save to.
    std::string (*make)(const std::string& folder);
    const char* reason;
    FileKind kind;
};

std::string NamedPipe(const std::string& folder)
{
    mkfifo(Table(folder).c_str(), 0666);
    return Table(folder);
}

std::string LinkToTheNullDevice(const std::string& folder)
{
    fs::create_symlink("/dev/null", Table(folder));
    return Table(folder);
}

std::string TheNullDevice(const std::string&)
{
    return "/dev/null";
}

std::string LoopOfLinks(const std::string& folder)
{
    fs::create_symlink("loop.dat", Table(folder));
    fs::create_symlink(TILESET_FILE_NAME, folder + "/loop.dat");
    return Table(folder);
}

const RefusedKind REFUSED_KINDS[] = {
    {"named pipe", NamedPipe, "is a named pipe, not a file", FILE_KIND_PIPE},
    {"device through a link", LinkToTheNullDevice, "is a device, not a file", FILE_KIND_DEVICE},
    {"device by its path", TheNullDevice, "is a device, not a file", FILE_KIND_DEVICE},
    {"loop of links", LoopOfLinks, "is a loop of symbolic links", FILE_KIND_LINK_LOOP},
};

TEST(TilesetFileSaveTarget, WhatIsNotAPlainFileIsRefusedWithItsReasonAndLeftAsItWas)
{
    for (const RefusedKind& test : REFUSED_KINDS) {
        SCOPED_TRACE(test.name);
        const TemporaryFolder folder;
        const std::string path = test.make(folder.Path());
        const Names before = folder.Entries();
        TilesetTable table;
        table.SetRecordCount(1);
        table.modified = true;

        const TilesetFileResult result = TilesetFile::Save(path, table);
        EXPECT_EQ(result.Status(), TILESET_FILE_NOT_REPLACEABLE);
        EXPECT_EQ(result.Reason(), test.reason);
        EXPECT_TRUE(table.modified);
        EXPECT_EQ(KindOfFile(path), test.kind);
        EXPECT_EQ(folder.Entries(), before);
    }
}

struct OwnedFile {
    const char* name;
    std::string (*make)(const std::string& folder);
    Saver saver;
    TilesetFileStatus status;
    const char* after;
};

std::string RootsReadableFile(const std::string& folder)
{
    return PlainFile(folder, TILESET_FILE_NAME, 0, 0644);
}

std::string RootsFileEveryoneWrites(const std::string& folder)
{
    return PlainFile(folder, TILESET_FILE_NAME, 0, 0666);
}

std::string NobodysFile(const std::string& folder)
{
    return PlainFile(folder, TILESET_FILE_NAME, NOBODY, 0640);
}

std::string FileOfTwoNames(const std::string& folder)
{
    const std::string path = PlainFile(folder, TILESET_FILE_NAME, 0, 0644);
    fs::create_hard_link(path, folder + "/other.dat");
    return path;
}

// No room is left for a temporary suffix after the name.
std::string FileOfTheLongestName(const std::string& folder)
{
    return PlainFile(folder, std::string(251, 'n') + ".dat", 0, 0644);
}

// A file nobody may write but does not own, and one of two names, are written in place.
const OwnedFile OWNED_FILES[] = {
    {"root's file, 644, saved by nobody", RootsReadableFile, AS_NOBODY, TILESET_FILE_NOT_PERMITTED,
     "owner 0:0, mode 644, 1 links, unedited"},
    {"root's file, 666, saved by nobody", RootsFileEveryoneWrites, AS_NOBODY, TILESET_FILE_SAVED,
     "owner 0:0, mode 666, 1 links, edited"},
    {"nobody's file saved by root", NobodysFile, AS_ROOT, TILESET_FILE_SAVED,
     "owner 65534:65534, mode 640, 1 links, edited"},
    {"a file of two names", FileOfTwoNames, AS_ROOT, TILESET_FILE_SAVED, "owner 0:0, mode 644, 2 links, edited"},
    {"the longest name", FileOfTheLongestName, AS_ROOT, TILESET_FILE_SAVED, "owner 0:0, mode 644, 1 links, edited"},
};

TEST(TilesetFileSaveTarget, OwnerGroupPermissionsAndNamesStayAndOnlyThisUsersRightsCount)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving files to other users and becoming nobody need root";
    }
    const TemporaryFolder sources;
    for (const OwnedFile& test : OWNED_FILES) {
        SCOPED_TRACE(test.name);
        const TemporaryFolder folder;
        fs::permissions(folder.Path(), fs::perms::all);
        const std::string path = test.make(folder.Path());
        const Names before = folder.Entries();
        const std::string source = sources.Path("source.dat");
        WriteFileBytes(source, UNEDITED_FILE);
        TilesetTable table;
        ASSERT_TRUE(LoadAndEdit(source, table).Succeeded());

        const int status = test.saver == AS_ROOT ? TilesetFile::Save(path, table).Status() : SaveAsNobody(path, table);
        EXPECT_EQ(status, test.status);
        EXPECT_EQ(StateOf(path), test.after);
        EXPECT_EQ(folder.Entries(), before);
    }
}

} // namespace
