#pragma once

#include "data/FileFailure.h"
#include "data/TilesetFileProblem.h"

#include <cstdint>
#include <string>
#include <vector>

enum TilesetFileStatus {
    TILESET_FILE_LOADED,
    TILESET_FILE_SAVED,
    TILESET_FILE_NOT_FOUND,
    TILESET_FILE_OPEN_FAILED,
    // A folder, named pipe, device or link loop, which is neither read nor replaced.
    TILESET_FILE_NOT_A_FILE,
    // The file opened, but reading it failed before its end.
    TILESET_FILE_READ_FAILED,
    // The file has more slots per tileset than a record holds.
    TILESET_FILE_TOO_MANY_SLOTS,
    // The table holds no content of the existing file, which a save would destroy.
    TILESET_FILE_NOT_LOADED,
    // A folder, named pipe, device, socket or loop of links is never replaced by a save.
    TILESET_FILE_NOT_REPLACEABLE,
    TILESET_FILE_READ_ONLY,
    // The file's permissions or security do not let this user change it.
    TILESET_FILE_NOT_PERMITTED,
    // Another program holds the file open, so that it can be neither read nor replaced.
    TILESET_FILE_IN_USE,
    // Another save of the same file, in another window or the table tool, had not ended after a moment's wait.
    TILESET_FILE_SAVE_RUNNING,
    TILESET_FILE_WRITE_FAILED,
    TILESET_FILE_REPLACE_FAILED,
    // Writing into the file itself failed on the way, and it may hold part of the new table.
    TILESET_FILE_PARTLY_SAVED,
    // The file was replaced, but the system could not confirm that the change reached the disk.
    TILESET_FILE_NOT_CONFIRMED,
};

// What a load or save of the tileset file (or, for the table tool, of any file
// it writes) did, with what a message to the user needs.
class TilesetFileResult {
public:
    TilesetFileResult(TilesetFileStatus status, std::string fileName, std::string reason = {}, uint32_t slotCount = 0);

    // A file that could not be read to its end, as the load tells it.
    static TilesetFileResult ReadFailed(const FileFailure& failure, const std::string& fileName);

    bool Succeeded() const;
    // A missing file is no fault of the table: it is loaded as an empty table.
    bool FileNotFound() const;
    TilesetFileStatus Status() const;
    const std::string& FileName() const;
    // The system's words for the failure, or empty.
    const std::string& Reason() const;
    // The refused file's slots per tileset, for TILESET_FILE_TOO_MANY_SLOTS.
    uint32_t SlotCount() const;
    // One or two sentences for a message box, naming the file and the reason.
    std::string Message() const;
    // The same in the table tool's words, which follow the file's name, e.g.
    // "could not be written: the file is read-only".
    std::string ToolWords() const;

    // What the checker found in a file that loaded: what the load repaired, cut or left empty.
    void SetProblems(std::vector<TilesetFileProblem> found);
    const std::vector<TilesetFileProblem>& Problems() const;

private:
    std::string Filled(const char* words, TooManySlotsWording wording) const;

    TilesetFileStatus status;
    std::string fileName;
    std::string reason;
    uint32_t slotCount;
    std::vector<TilesetFileProblem> problems;
};
