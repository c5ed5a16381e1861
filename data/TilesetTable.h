#pragma once

#include "data/FileSnapshot.h"
#include "data/TilesetRecord.h"

#include <optional>
#include <vector>

// The file's entry count is one byte.
constexpr int MAX_TILESET_COUNT = 255;

// The tilesets of the table file in file order: record i is entry i of the file
// and row i of the tileset list.
class TilesetTable {
public:
    int RecordCount() const;
    TilesetRecord& RecordAt(int i);
    const TilesetRecord& RecordAt(int i) const;
    // Appends empty records or drops surplus ones at the end.
    void SetRecordCount(int n);
    // Room for n records, so that appending them moves none.
    void ReserveRecords(int n);
    // Appends a record whose bytes are not set, for the load, which writes every
    // byte of each record it fills: zeroing them first took as long as that.
    TilesetRecord& AppendUnfilledRecord();

    // Set by a load that found the file but could not take in its content: a
    // save of this table would replace tilesets it never held, so it refuses.
    void MarkLoadFailed();
    bool LoadFailed() const;

    // What the file held when the table was loaded from it or last saved to it,
    // so that a change by another program can be told; none for a table that
    // never met its file.
    void RememberFile(FileSnapshot snapshot);
    const std::optional<FileSnapshot>& RememberedFile() const;

    // True when a slot text or an ambient number has changed since the load or
    // the last save: the window sets it on every such edit and clears it when
    // the load has returned; a save clears it only once the file is replaced.
    bool modified = false;

private:
    // A record whose bytes only the one who appends it sets: a vector makes each
    // element it adds by this constructor, which, written out rather than
    // defaulted, leaves the record as it finds it.
    struct StoredRecord {
        StoredRecord() {}
        TilesetRecord record;
    };

    std::vector<StoredRecord> records;
    bool loadFailed = false;
    std::optional<FileSnapshot> rememberedFile;
};
