#include "data/TilesetFileResult.h"

#include <gtest/gtest.h>

namespace {

struct MessageCase {
    TilesetFileStatus status;
    const char* expected;
    const char* reason = "Access denied.\r\n";
};

// System reasons arrive with their own full stop and line break.
const MessageCase MESSAGE_CASES[] = {
    {TILESET_FILE_LOADED, "The tileset file \"t.dat\" was loaded."},
    {TILESET_FILE_SAVED, "The tileset file \"t.dat\" was saved."},
    {TILESET_FILE_NOT_FOUND, "The tileset file \"t.dat\" was not found, so there are no tilesets to edit."},
    {TILESET_FILE_OPEN_FAILED, "The tileset file \"t.dat\" could not be opened: Access denied. Nothing was loaded, "
                               "and saving will not replace the file."},
    {TILESET_FILE_READ_FAILED, "The tileset file \"t.dat\" could not be read: Access denied. Nothing was loaded, "
                               "and saving will not replace the file."},
    {TILESET_FILE_TOO_MANY_SLOTS, "The tileset file \"t.dat\" has 200 slots per tileset, but at most 151 are "
                                  "supported. Nothing was loaded, and saving will not replace the file."},
    {TILESET_FILE_NOT_LOADED, "The tileset file \"t.dat\" was not saved, because its content could not be loaded "
                              "and would be lost. The file was left as it was."},
    {TILESET_FILE_NOT_REPLACEABLE,
     "The tileset file \"t.dat\" is a named pipe, not a file, so it was not saved. "
     "The file was left as it was.",
     "is a named pipe, not a file"},
    {TILESET_FILE_READ_ONLY,
     "The tileset file \"t.dat\" is read-only and was not saved. The file was left as it was."},
    {TILESET_FILE_NOT_PERMITTED, "The tileset file \"t.dat\" was not saved, because you are not allowed to change "
                                 "it. The file was left as it was."},
    {TILESET_FILE_IN_USE, "The tileset file \"t.dat\" is in use by another program and was not saved. The file "
                          "was left as it was. Save again once that program has closed it."},
    {TILESET_FILE_SAVE_RUNNING,
     "The tileset file \"t.dat\" was not saved, because another save of it is still running, in another window "
     "or in the table tool. The file was left as it was. Save again once that save has ended."},
    {TILESET_FILE_WRITE_FAILED, "The tileset file \"t.dat\" could not be saved, because writing the new content "
                                "failed: Access denied. The file was left as it was."},
    {TILESET_FILE_REPLACE_FAILED, "The tileset file \"t.dat\" could not be saved, because it could not be replaced: "
                                  "Access denied. The file was left as it was."},
    {TILESET_FILE_PARTLY_SAVED, "The tileset file \"t.dat\" could not be saved whole, because writing into it failed: "
                                "Access denied. It may now hold part of the changes; save again to write it whole."},
    {TILESET_FILE_NOT_CONFIRMED, "The tileset file \"t.dat\" was saved, but the system could not confirm that the "
                                 "change reached the disk: Access denied. Save again to be sure."},
};

TEST(TilesetFileResult, MessageNamesTheFileAndTheReason)
{
    for (const MessageCase& test : MESSAGE_CASES) {
        const TilesetFileResult result(test.status, "t.dat", test.reason, 200);
        EXPECT_EQ(result.Message(), test.expected);
    }
}

struct ToolWordsCase {
    TilesetFileStatus status;
    const char* reason;
    const char* expected;
};

const ToolWordsCase TOOL_WORDS_CASES[] = {
    {TILESET_FILE_READ_ONLY, "", "could not be written: the file is read-only"},
    {TILESET_FILE_WRITE_FAILED, "", "could not be written"},
    {TILESET_FILE_WRITE_FAILED, "Disk full.\r\n", "could not be written: Disk full"},
    {TILESET_FILE_PARTLY_SAVED, "Disk full",
     "could not be written whole: Disk full; it may hold part of the new table"},
    {TILESET_FILE_TOO_MANY_SLOTS, "", "has 200 slots per tileset, more than the 151 a tileset holds"},
    // A reason is never taken for words of the table's.
    {TILESET_FILE_NOT_REPLACEABLE, "{file} {left}", "could not be written: {file} {left}"},
};

TEST(TilesetFileResult, ToolWordsFollowTheFilesName)
{
    for (const ToolWordsCase& test : TOOL_WORDS_CASES) {
        const TilesetFileResult result(test.status, "{reason}.dat", test.reason, 200);
        EXPECT_EQ(result.ToolWords(), test.expected);
    }
    EXPECT_EQ(TilesetFileResult(TILESET_FILE_SAVED, "{reason}.dat").Message(),
              "The tileset file \"{reason}.dat\" was saved.");
}

} // namespace
