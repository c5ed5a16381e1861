#include "tests/support/TilesetFileBytes.h"

#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

std::string Field(const std::string& text)
{
    if (text.size() > FIELD_BYTES) {
        throw std::invalid_argument("field text longer than 32 bytes");
    }
    return text + std::string(FIELD_BYTES - text.size(), '\0');
}

std::string Header(uint8_t count, uint32_t slotsPerTileset)
{
    char bytes[TilesetFileFormat::HEADER_SIZE];
    TilesetFileFormat::EncodeHeader({count, slotsPerTileset}, bytes);
    return std::string(bytes, sizeof bytes);
}

std::string Entry(const std::string& name, uint8_t ambient, const std::vector<std::string>& slots,
                  uint32_t slotsPerTileset)
{
    std::string bytes = Field(name) + static_cast<char>(ambient);
    for (uint32_t j = 0; j < slotsPerTileset; ++j) {
        bytes += Field(j < slots.size() ? slots[j] : "");
    }
    return bytes;
}

std::size_t EntryBytes(uint32_t slotsPerTileset)
{
    return static_cast<std::size_t>(TilesetFileFormat::EntrySize(slotsPerTileset));
}

void NameList::AddName(const char* name)
{
    names.emplace_back(name);
}

TilesetFileResult ReadBytes(const std::string& bytes, TilesetTable& table, NameList& names)
{
    std::istringstream in(bytes);
    return TilesetFile::Read(in, "memory", table, names);
}

std::string WriteBytes(const TilesetTable& table)
{
    std::ostringstream out;
    if (!TilesetFile::Write(table, out)) {
        throw std::runtime_error("writing to memory failed");
    }
    return out.str();
}

std::string Resaved(const std::string& bytes)
{
    TilesetTable table;
    NameList names;
    ReadBytes(bytes, table, names);
    return WriteBytes(table);
}

std::string NameOf(const TilesetRecord& record)
{
    char field[TilesetFileFormat::FIELD_SIZE];
    TilesetFileFormat::NarrowName(record.name, field);
    return std::string(field, TilesetFileFormat::TextLength(field));
}

void SetName(TilesetRecord& record, const std::string& name)
{
    std::fill(std::begin(record.name), std::end(record.name), u'\0');
    std::transform(name.begin(), name.end(), record.name,
                   [](char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); });
}

void SetSlot(TilesetRecord& record, int slot, const std::string& text)
{
    const std::string field = Field(text);
    std::copy(field.begin(), field.end(), record.slots[slot]);
}

std::string ByteRun(unsigned first, std::size_t length)
{
    std::string bytes;
    for (std::size_t k = 0; k < length; ++k) {
        bytes += static_cast<char>((first + k) & 0xFF);
    }
    return bytes;
}
