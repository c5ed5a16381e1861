#pragma once

#include "data/TilesetFileFormat.h"
#include "data/TilesetFileResult.h"
#include "data/TilesetNameSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TilesetTable;
struct TilesetRecord;

// Readable builders for tileset files in the tests; a std::string holds the bytes.

const std::size_t HEADER_BYTES = TilesetFileFormat::HEADER_SIZE;
const std::size_t FIELD_BYTES = TilesetFileFormat::FIELD_SIZE;
// An entry as the writer writes it: name, ambient number and 151 slots.
const std::size_t SAVED_ENTRY_BYTES = TilesetFileFormat::SAVED_ENTRY_SIZE;

// text, then zeros up to 32 bytes; text may hold its own NUL and bytes after it.
std::string Field(const std::string& text);
std::string Header(uint8_t count, uint32_t slotsPerTileset);
// The given slot fields, then empty fields up to slotsPerTileset.
std::string Entry(const std::string& name, uint8_t ambient, const std::vector<std::string>& slots,
                  uint32_t slotsPerTileset);
std::size_t EntryBytes(uint32_t slotsPerTileset);

// Records each listed name.
class NameList : public TilesetNameSink {
public:
    void AddName(const char* name) override;
    std::vector<std::string> names;
};

TilesetFileResult ReadBytes(const std::string& bytes, TilesetTable& table, NameList& names);
std::string WriteBytes(const TilesetTable& table);
// Load followed by save, both in memory.
std::string Resaved(const std::string& bytes);

// The record's name narrowed back to bytes, up to its NUL.
std::string NameOf(const TilesetRecord& record);
void SetName(TilesetRecord& record, const std::string& name);
void SetSlot(TilesetRecord& record, int slot, const std::string& text);
// A byte range of the given values, for texts that use the upper half of the byte range.
std::string ByteRun(unsigned first, std::size_t length);
