#pragma once

#include "data/TilesetFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// One entry of a table file as its bytes hold it. Its fields are looked at only
// within the bytes read, which may be less than the file holds.
struct TilesetEntryView {
    int index;
    // Where the entry starts in the file.
    uint64_t offset;
    // How much of the entry the file holds; less than its size where the file ends inside it.
    uint64_t held;
    // The entry's bytes that were read, at most held; where none were, the end of the bytes.
    const char* bytes;
    std::size_t read;

    // The name field lies whole within the bytes read.
    bool HoldsName() const { return read >= TilesetFileFormat::FIELD_SIZE; }
    bool HoldsAmbient() const { return read > TilesetFileFormat::FIELD_SIZE; }
    uint8_t Ambient() const;
    // The bytes read of the slot fields, the last one possibly cut short.
    std::size_t SlotBytes() const;
    const char* Slots() const { return SlotBytes() != 0 ? bytes + TilesetFileFormat::SLOTS_OFFSET : bytes; }
    // The slot fields that lie whole within the bytes read.
    std::size_t WholeSlots() const { return SlotBytes() / TilesetFileFormat::FIELD_SIZE; }
};

// The header and the entries of a table file, worked out once from its bytes:
// the load, the checker and the raw dump all walk it, so that they agree on
// where each field is and how much of it the file holds.
class TilesetFileView {
public:
    // bytes are the file's start, and fileSize is the whole file's size, or
    // nullopt where it goes on by a length the system does not tell.
    // The view refers to bytes, which must outlive it.
    explicit TilesetFileView(const std::string& bytes, std::optional<uint64_t> fileSize);
    explicit TilesetFileView(const std::string& bytes) : TilesetFileView(bytes, bytes.size()) {}

    const std::string& Bytes() const { return bytes; }
    bool HoldsHeader() const { return bytes.size() >= TilesetFileFormat::HEADER_SIZE; }
    // What the header declares; a header cut short declares its first byte's tilesets and no slots.
    const TilesetFileFormat::Header& Header() const { return header; }
    uint64_t EntrySize() const { return entrySize; }
    bool SizeKnown() const { return fileSize.has_value(); }
    // The whole file's size, where it is known.
    uint64_t FileSize() const { return fileSize.value_or(0); }
    // The declared entries that start within the file; with no size known, every one.
    int EntryCount() const;
    // The declared entries that the file holds whole.
    uint64_t WholeEntries() const;
    TilesetEntryView Entry(int i) const;
    // Where the last declared entry ends.
    uint64_t EntriesEnd() const;

private:
    const std::string& bytes;
    std::optional<uint64_t> fileSize;
    TilesetFileFormat::Header header{};
    uint64_t entrySize = 0;
};
