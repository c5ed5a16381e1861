#pragma once

#include <cstdint>

constexpr int SLOTS_PER_TILESET = 151;
constexpr int NAME_FIELD_SIZE = 32;

// One tileset as a plain fixed-size value; all zero, TilesetRecord{}, is the
// empty record. Its fields have no default values, so that the load can fill a
// record without zeroing it first: write TilesetRecord{} for an empty one.
struct TilesetRecord {
    // Each unit is one byte of the file's name field widened unchanged, so that
    // narrowing it gives back the same byte.
    char16_t name[NAME_FIELD_SIZE];
    // NUL-terminated single-byte texts; bytes after the NUL are kept as they stand.
    char slots[SLOTS_PER_TILESET][NAME_FIELD_SIZE];
    uint8_t ambient;
};
