#pragma once

#include <cstdint>
#include <string>

enum TilesetFileStatus {
    TILESET_FILE_LOADED,
    TILESET_FILE_SAVED,
    TILESET_FILE_NOT_FOUND,
    TILESET_FILE_OPEN_FAILED,
    // The file opened, but reading it failed before its end.
    TILESET_FILE_READ_FAILED,
    // The file has more slots per tileset than a record holds.
    TILESET_FILE_TOO_MANY_SLOTS,
    // The table holds no content of the existing file, which a save would destroy.
    TILESET_FILE_NOT_LOADED,
    TILESET_FILE_READ_ONLY,
    TILESET_FILE_WRITE_FAILED,
    TILESET_FILE_REPLACE_FAILED,
};

// What a load or save of the tileset file did, with what a message to the user needs.
class TilesetFileResult {
public:
    TilesetFileResult(TilesetFileStatus status, std::string fileName, std::string reason = {},
                      uint32_t slotCount = 0);

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

private:
    std::string QuotedName() const;

    TilesetFileStatus status;
    std::string fileName;
    std::string reason;
    uint32_t slotCount;
};
