#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/UnixLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include <windows.h>

namespace {

using Names = std::vector<std::string>;

// Another program's handle on the file, which by default shares nothing with anyone.
class ExclusiveHandle {
public:
    explicit ExclusiveHandle(const std::string& path, DWORD sharing = 0)
        : handle(
              CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~ExclusiveHandle() { Close(); }
    ExclusiveHandle(const ExclusiveHandle&) = delete;
    ExclusiveHandle& operator=(const ExclusiveHandle&) = delete;

    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (IsOpen()) {
            CloseHandle(handle);
            handle = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle;
};

// Closes the handle after the given time, as a virus scanner lets go of a file.
std::thread ReleaseAfter(ExclusiveHandle& holder, int milliseconds)
{
    return std::thread([&holder, milliseconds] {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        holder.Close();
    });
}

// A 64 KB tmpfs: a real full disk. Mounting one needs root.
class TinyVolume {
public:
    TinyVolume(const std::string& folder, const std::string& name)
        : folder(folder), name(name),
          mounted(RunUnixCommand(folder, "mkdir " + name + " && mount -t tmpfs -o size=64k tmpfs " + name) == 0)
    {
    }
    ~TinyVolume()
    {
        if (mounted) {
            RunUnixCommand(folder, "umount " + name);
        }
    }
    TinyVolume(const TinyVolume&) = delete;
    TinyVolume& operator=(const TinyVolume&) = delete;

    bool Mounted() const { return mounted; }

private:
    std::string folder;
    std::string name;
    bool mounted;
};

class TilesetFileSaveFaultWay : public EachSaveWay {};
INSTANTIATE_TEST_SUITE_P(Way, TilesetFileSaveFaultWay, testing::Values(SAVE_WAY_REPLACE, SAVE_WAY_IN_PLACE),
                         SaveWayName);

// A scanner's moment and one longer than half a second are waited out; a hold
// of 1.5 s outlasts the wait of about a second, as one until the save ends does.
TEST_P(TilesetFileSaveFaultWay, FileHeldOpenIsReplacedOnlyWhenReleasedWithinTheWait)
{
    const struct {
        int holdMilliseconds; // 0: held until the save has ended
        bool replaced;
    } cases[] = {{0, false}, {150, true}, {600, true}, {1500, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holdMilliseconds);
        const TemporaryFolder folder;
        const std::string path = folder.Path(TILESET_FILE_NAME);
        WriteFileBytes(path, UNEDITED_FILE);
        TilesetTable table;
        table.modified = true;

        ExclusiveHandle holder(path);
        ASSERT_TRUE(holder.IsOpen());
        std::thread releaser = c.holdMilliseconds > 0 ? ReleaseAfter(holder, c.holdMilliseconds) : std::thread();
        const TilesetFileResult result = TilesetFile::Save(path, table, {GetParam()});
        if (releaser.joinable()) {
            releaser.join();
        }
        holder.Close();

        EXPECT_EQ(result.Status(), c.replaced ? TILESET_FILE_SAVED : TILESET_FILE_REPLACE_FAILED) << result.Message();
        EXPECT_EQ(table.modified, !c.replaced);
        EXPECT_EQ(ReadFileBytes(path), c.replaced ? std::string("\x00\x97\x00\x00\x00", 5) : UNEDITED_FILE);
        EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
        if (!c.replaced) {
            EXPECT_FALSE(result.Reason().empty());
        }
    }
}

TEST(TilesetFileSaveFault, FileHeldOpenByAnotherProgramIsNotLoadedNorSavedOver)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    TilesetTable table;
    NameList names;
    ExclusiveHandle holder(path);
    ASSERT_TRUE(holder.IsOpen());
    const TilesetFileResult load = TilesetFile::Load(path, table, names);
    holder.Close();

    EXPECT_EQ(load.Status(), TILESET_FILE_OPEN_FAILED);
    EXPECT_FALSE(load.Reason().empty());
    EXPECT_TRUE(table.LoadFailed());
    EXPECT_EQ(TilesetFile::Save(path, table).Status(), TILESET_FILE_NOT_LOADED);
    EXPECT_EQ(ReadFileBytes(path), UNEDITED_FILE);
}

// A scanner that opens the new file as soon as it is written shares it, as
// scanners do, and the save's own handle keeps out a program that would not.
TEST_P(TilesetFileSaveFaultWay, ScannerOnTheNewFileDoesNotStopTheSave)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, UNEDITED_FILE);
    std::optional<ExclusiveHandle> scanner;
    bool keptOut = false;
    const SaveOptions options = {GetParam(), [&](SaveStage stage) {
                                     if (stage == SAVE_STAGE_COPY_PART_WRITTEN) {
                                         keptOut = !ExclusiveHandle(path + ".lock").IsOpen();
                                         scanner.emplace(path + ".lock",
                                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
                                     }
                                 }};
    TilesetTable table;
    const TilesetFileResult result = LoadEditAndSave(path, table, options);
    ASSERT_TRUE(scanner.has_value());
    EXPECT_TRUE(scanner->IsOpen());
    scanner.reset();

    EXPECT_EQ(result.Status(), TILESET_FILE_SAVED) << result.Message();
    EXPECT_TRUE(keptOut);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST_P(TilesetFileSaveFaultWay, FullDiskLeavesTheOldFileWholeAndNoTemporaryFile)
{
    const TemporaryFolder folder;
    const TinyVolume volume(folder.Path(""), "volume");
    if (!volume.Mounted()) {
        GTEST_SKIP() << "no 64 KB tmpfs: mounting one needs Wine's start of Linux programs, and root";
    }
    const std::string path = folder.Path("volume\\" + std::string(TILESET_FILE_NAME));
    WriteFileBytes(path, UNEDITED_FILE);
    // About 100 KB, more than the volume holds.
    TilesetTable table;
    table.SetRecordCount(20);
    table.modified = true;

    const TilesetFileResult result = TilesetFile::Save(path, table, {GetParam()});
    EXPECT_EQ(result.Status(), TILESET_FILE_WRITE_FAILED);
    // Windows says "There is not enough space on the disk", Wine "Disk full".
    EXPECT_TRUE(result.Reason().find("space on the disk") != std::string::npos ||
                result.Reason().find("Disk full") != std::string::npos)
        << result.Message();
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), UNEDITED_FILE);
    EXPECT_EQ(folder.Entries("volume"), Names{TILESET_FILE_NAME});
}

// A link to the process's own memory, whose first page is never mapped: the
// file opens, and its first read fails. The load and save are the editor's own,
// on the table in the current folder.
TEST(TilesetFileReadFault, ReadErrorAfterOpeningFailsTheLoadAndTheSaveKeepsTheFile)
{
    const TemporaryFolder folder;
    const UnixLink link(folder.Path(""), "/proc/self/mem", TILESET_FILE_NAME);
    if (!link.Made()) {
        GTEST_SKIP() << "no Linux symbolic link: making one needs Wine's start of Linux programs";
    }
    const std::filesystem::path testFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path(""));
    TilesetTable table;
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(table, names);
    table.modified = true;
    const TilesetFileResult save = TilesetFile::Save(table);
    std::filesystem::current_path(testFolder);

    EXPECT_EQ(load.Status(), TILESET_FILE_READ_FAILED);
    EXPECT_NE(load.Message().find("could not be read: "), std::string::npos) << load.Message();
    EXPECT_TRUE(table.LoadFailed());
    EXPECT_EQ(save.Status(), TILESET_FILE_NOT_LOADED);
    EXPECT_TRUE(table.modified);
    EXPECT_TRUE(link.IsLink());
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

} // namespace
