#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/ScratchFolder.h"
#include "tests/data/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <windows.h>

namespace {

using Names = std::vector<std::string>;

const std::string OLD_FILE = Header(1, 151) + Entry("Old", 3, {"kept"}, 151);

// Another program's handle on the file that shares nothing with anyone.
class ExclusiveHandle {
public:
    explicit ExclusiveHandle(const std::string& path)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
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

TEST(TilesetFileSaveFault, FileHeldOpenByAnotherProgramIsNotReplaced)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, OLD_FILE);
    TilesetTable table;
    NameList names;
    ASSERT_TRUE(TilesetFile::Load(path, table, names).Succeeded());
    table.modified = true;

    ExclusiveHandle holder(path);
    ASSERT_TRUE(holder.IsOpen());
    const TilesetFileResult result = TilesetFile::Save(path, table);
    holder.Close();

    EXPECT_EQ(result.Status(), TILESET_FILE_REPLACE_FAILED);
    EXPECT_FALSE(result.Reason().empty());
    EXPECT_TRUE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), OLD_FILE);
    EXPECT_EQ(folder.Entries(), Names{TILESET_FILE_NAME});
}

TEST(TilesetFileSaveFault, FileReleasedWithinTheRetriesIsReplaced)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, OLD_FILE);
    TilesetTable table;
    table.modified = true;

    ExclusiveHandle holder(path);
    ASSERT_TRUE(holder.IsOpen());
    std::thread releaser([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        holder.Close();
    });
    const TilesetFileResult result = TilesetFile::Save(path, table);
    releaser.join();

    EXPECT_EQ(result.Status(), TILESET_FILE_SAVED) << result.Message();
    EXPECT_FALSE(table.modified);
    EXPECT_EQ(ReadFileBytes(path), std::string("\x00\x97\x00\x00\x00", 5));
}

TEST(TilesetFileSaveFault, FileHeldOpenByAnotherProgramIsNotLoadedNorSavedOver)
{
    const ScratchFolder folder;
    const std::string path = folder.Path(TILESET_FILE_NAME);
    WriteFileBytes(path, OLD_FILE);
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
    EXPECT_EQ(ReadFileBytes(path), OLD_FILE);
}

} // namespace
