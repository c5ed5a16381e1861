#include "data/FileKind.h"
#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/data/EditedTable.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "tests/support/UnixCommand.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using Names = std::vector<std::string>;

struct WindowsKind {
    const char* name;
    // A Linux command that makes it in the folder, or null for a name Windows knows.
    const char* make;
    const char* path;
    FileKind kind;
};

// The C library here takes each of them for a missing file.
const WindowsKind WINDOWS_KINDS[] = {
    {"the null device by its name", nullptr, "NUL", FILE_KIND_DEVICE},
    {"a Linux link to the null device", "ln -s /dev/null qx7set.dat", TILESET_FILE_NAME, FILE_KIND_DEVICE},
    {"a named pipe", "mkfifo qx7set.dat", TILESET_FILE_NAME, FILE_KIND_PIPE},
    {"a loop of Linux links", "ln -s loop.dat qx7set.dat && ln -s qx7set.dat loop.dat", TILESET_FILE_NAME,
     FILE_KIND_LINK_LOOP},
};

TEST(TilesetFileSaveTarget, DevicesPipesAndLinkLoopsAreToldAndRefused)
{
    for (const WindowsKind& test : WINDOWS_KINDS) {
        SCOPED_TRACE(test.name);
        const TemporaryFolder folder;
        // Wine cannot delete a link whose target is not a file; the Linux side removes what it made.
        if (test.make != nullptr && RunUnixCommand(folder.Path(), test.make) != 0) {
            continue;
        }
        const std::string path = test.make != nullptr ? folder.Path(test.path) : test.path;
        TilesetTable table;
        table.SetRecordCount(1);
        table.modified = true;

        EXPECT_EQ(KindOfFile(path), test.kind);
        EXPECT_EQ(TilesetFile::Save(path, table).Status(), TILESET_FILE_NOT_REPLACEABLE);
        EXPECT_EQ(KindOfFile(path), test.kind);
        if (test.make != nullptr) {
            RunUnixCommand(folder.Path(), "rm -f qx7set.dat loop.dat");
        }
    }
}

// The programs' ANSI calls take paths of fewer than MAX_PATH characters, so a
// table whose path is as long as that gets a shorter name for its new file.
TEST(TilesetFileSaveTarget, TableOfTheLongestPathIsCreatedAndSaved)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path(std::string(MAX_PATH - 2 - folder.Path().size(), 'n'));
    TilesetTable created;
    created.SetRecordCount(1);
    SetName(created.RecordAt(0), "Old");
    created.RecordAt(0).ambient = 3;
    SetSlot(created.RecordAt(0), 0, "kept");
    ASSERT_EQ(TilesetFile::Save(path, created).Status(), TILESET_FILE_SAVED);
    ASSERT_EQ(ReadFileBytes(path), UNEDITED_FILE);

    TilesetTable table;
    EXPECT_EQ(LoadEditAndSave(path, table).Status(), TILESET_FILE_SAVED);
    EXPECT_EQ(ReadFileBytes(path), EDITED_FILE);
    EXPECT_EQ(folder.Entries().size(), 1u);
}

} // namespace
