#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/ScratchFolder.h"
#include "tests/data/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

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

TEST(TilesetFileSaveFault, WriteThatCannotCompleteLeavesTheOldFile)
{
    const ScratchFolder folder;
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

} // namespace
