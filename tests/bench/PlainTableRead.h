#pragma once

#include "data/TilesetRecord.h"

#include <cstddef>
#include <memory>
#include <string>

// The yardstick of the load: the least that reading a table file takes. One
// system read of the whole file, then one pass that fills every record's
// fields from it and checks that each field holds its NUL; nothing cleaned,
// nothing remembered, nothing zeroed first.
namespace PlainTableRead {

// A record of the table's layout without default values, so that making one
// costs nothing before it is filled.
struct PlainRecord {
    char16_t name[NAME_FIELD_SIZE];
    char slots[SLOTS_PER_TILESET][NAME_FIELD_SIZE];
    uint8_t ambient;
};

struct PlainTable {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::unique_ptr<PlainRecord[]> records;
    int recordCount = 0;
    // Every field of every record holds a NUL.
    bool sound = false;
};

// The table file at path, which must hold whole entries of 151 slots; an
// empty table where it cannot be read.
PlainTable Read(const std::string& path);

} // namespace PlainTableRead
