#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>

#include <sys/resource.h>
#ifdef __linux__
#include <sys/mount.h>
#endif

namespace {

using Names = std::vector<std::string>;

// A file size limit makes writes past it fail with EFBIG, also for root.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{bytes, saved.rlim_max};
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = SIG_DFL;
};

// A 64 KB tmpfs: a real full disk. Mounting one needs root.
class TinyVolume {
public:
    explicit TinyVolume(const std::string& folder) : folder(folder)
    {
        std::filesystem::create_directory(folder);
#ifdef __linux__
        mounted = mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
        error = mounted ? 0 : errno;
#endif
    }
    ~TinyVolume()
    {
#ifdef __linux__
        if (mounted) {
            umount(folder.c_str());
        }
#endif
    }
    TinyVolume(const TinyVolume&) = delete;
    TinyVolume& operator=(const TinyVolume&) = delete;

    bool Mounted() const
    {
        return mounted;
    }
    std::string Failure() const
    {
        return "cannot mount a tmpfs: " + std::generic_category().message(error);
    }

private:
    std::string folder;
    bool mounted = false;
    int error = ENOSYS;
};

TEST(TilesetFileSaveFault, WriteThatCannotCompleteLeavesTheOldFile)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    const std::string old = Header(3, 151) + Entry("Old", 1, {"kept"}, 151);
    WriteFileBytes(path, old);
    TilesetTable table;
    NameList names;
    ASSERT_TRUE(TilesetFile::Load(path, table, names).Succeeded());
    table.modified = true;

    TilesetFileResult result(TILESET_FILE_SAVED, path);
    {
        const ScopedFileSizeLimit limit(8192);
        result = TilesetFile::Save(path, table);
    }
    EXPECT_EQ(result.Status(), TILESET_FILE_WRITE_FAILED);
    EXPECT_EQ(result.Reason(), "File too large");
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

struct FullDiskCase {
    const char* name;
    int tilesets;
    // A second name makes the save write into the file itself.
    const char* secondName;
    TilesetFileStatus status;
};

// About 100 KB, more than the volume holds; and about 40 KB, which it holds
// once beside the old table but not twice: written in place, the bytes beyond
// the old end go first.
const FullDiskCase FULL_DISK_CASES[] = {
    {"the new file does not fit", 20, nullptr, TILESET_FILE_WRITE_FAILED},
    {"the file of two names does not grow", 8, "other.dat", TILESET_FILE_REPLACE_FAILED},
};

TEST(TilesetFileSaveFault, FullDiskLeavesTheOldFileWholeAndNoTemporaryFile)
{
    for (const FullDiskCase& test : FULL_DISK_CASES) {
        SCOPED_TRACE(test.name);
        const TemporaryFolder folder;
        const TinyVolume volume(folder.Path("volume"));
        if (!volume.Mounted()) {
            GTEST_SKIP() << volume.Failure();
        }
        const std::string path = folder.Path("volume/" + std::string(TILESET_FILE_NAME));
        const std::string old = Header(1, 151) + Entry("Old", 1, {"kept"}, 151);
        WriteFileBytes(path, old);
        if (test.secondName != nullptr) {
            std::filesystem::create_hard_link(path, folder.Path("volume/" + std::string(test.secondName)));
        }
        const Names entries = folder.Entries("volume");
        TilesetTable table;
        table.SetRecordCount(test.tilesets);
        table.modified = true;

        const TilesetFileResult result = TilesetFile::Save(path, table);
        EXPECT_EQ(result.Status(), test.status);
        EXPECT_EQ(result.Reason(), std::generic_category().message(ENOSPC));
        EXPECT_TRUE(table.modified);
        EXPECT_EQ(ReadFileBytes(path), old);
        EXPECT_EQ(folder.Entries("volume"), entries);
    }
}

// The process's own memory, whose first page is never mapped: the file opens,
// and its first read fails.
TEST(TilesetFileReadFault, ReadErrorAfterOpeningFailsTheLoadAndTheSaveKeepsTheFile)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    std::filesystem::create_symlink("/proc/self/mem", path);
    TilesetTable table;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(path, table, names);
    EXPECT_EQ(load.Status(), TILESET_FILE_READ_FAILED);
    EXPECT_NE(load.Message().find("could not be read: "), std::string::npos) << load.Message();
    EXPECT_TRUE(table.LoadFailed());
    EXPECT_EQ(table.RecordCount(), 0);

    table.modified = true;
    EXPECT_EQ(TilesetFile::Save(path, table).Status(), TILESET_FILE_NOT_LOADED);
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(std::filesystem::read_symlink(path), "/proc/self/mem");
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

} // namespace
