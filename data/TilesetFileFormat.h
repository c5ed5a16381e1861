#pragma once

#include "data/TilesetRecord.h"
#include "data/TilesetTable.h"

#include <cstddef>
#include <cstdint>

// The layout of the tileset table file, written once for the load and the save,
// the checker, the table tool and the tests:
//   header: the tileset count (1 byte), slots per tileset (4 bytes, little-endian);
//   each entry: the name field, the ambient number (1 byte), the slot fields;
//   every field 32 bytes holding a NUL-terminated single-byte text.
class TilesetFileFormat {
public:
    static constexpr std::size_t HEADER_SIZE = 5;
    static constexpr std::size_t FIELD_SIZE = NAME_FIELD_SIZE;
    // The name field and the ambient number come before the slot fields.
    static constexpr std::size_t SLOTS_OFFSET = FIELD_SIZE + 1;
    // An entry as the save writes it.
    static constexpr std::size_t SAVED_ENTRY_SIZE = SLOTS_OFFSET + FIELD_SIZE * SLOTS_PER_TILESET;
    // The largest file the editor loads whole: 255 entries of 151 slots.
    static constexpr std::size_t LARGEST_FILE_SIZE = HEADER_SIZE + SAVED_ENTRY_SIZE * MAX_TILESET_COUNT;

    struct Header {
        int tilesetCount;
        uint32_t slotsPerTileset;
    };

    // 64 bits hold the largest entry a header can declare.
    static constexpr uint64_t EntrySize(uint64_t slotsPerTileset)
    {
        return SLOTS_OFFSET + FIELD_SIZE * slotsPerTileset;
    }

    static Header DecodeHeader(const char (&bytes)[HEADER_SIZE]);
    static void EncodeHeader(const Header& header, char (&bytes)[HEADER_SIZE]);

    // Each byte of the field up to its NUL becomes one unit of the name
    // unchanged, so that narrowing gives the same bytes back; the rest is zero.
    static void WidenName(const char (&field)[FIELD_SIZE], char16_t (&name)[NAME_FIELD_SIZE]);
    // The bytes after the NUL are zeros.
    static void NarrowName(const char16_t (&name)[NAME_FIELD_SIZE], char (&field)[FIELD_SIZE]);

    // The bytes of the field's text, up to its NUL or its end.
    static std::size_t TextLength(const char (&field)[FIELD_SIZE]);
    // Makes the field what the save writes for its text: a field without its
    // NUL keeps its first 31 bytes, and whatever followed the NUL becomes zero.
    static void CleanField(char (&field)[FIELD_SIZE]);
    // The first count bytes of the slot fields, as the file holds them, into
    // slots, cleaned; a field that count cuts short keeps the bytes it has,
    // and the slots after them become empty. Writes every byte of slots once,
    // and returns whether the fields that count holds whole were clean already.
    static bool CopySlots(const char* bytes, std::size_t count, char (&slots)[SLOTS_PER_TILESET][FIELD_SIZE]);
    // Cleans the first count slot fields, in one call for the load's sake.
    static void CleanSlots(int count, char (&slots)[SLOTS_PER_TILESET][FIELD_SIZE]);
};
