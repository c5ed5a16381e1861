#pragma once

#include "data/TilesetFileResult.h"

// Saves to a 64 KB volume that holds a table of one tileset, on each system.
struct FullDiskCase {
    const char* name;
    int tilesets;
    // A second name of the file, which makes the save write into the file itself.
    const char* secondName;
    TilesetFileStatus status;
};

// About 100 KB, more than the volume holds; and about 40 KB, which it holds
// once beside the old table, but not twice: the bytes beyond the old end of a
// file written in place go first.
inline const FullDiskCase FULL_DISK_CASES[] = {
    {"the new file does not fit", 20, nullptr, TILESET_FILE_WRITE_FAILED},
    {"the file of two names does not grow", 8, "other.dat", TILESET_FILE_REPLACE_FAILED},
};
