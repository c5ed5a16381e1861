#include "tools/RawTableDump.h"

#include "data/TilesetFileFormat.h"
#include "tools/TableDump.h"

#include <cstdint>
#include <cstring>
#include <ostream>

namespace {

using Format = TilesetFileFormat;

// The text of the field at offset, which lies within bytes.
std::string FieldText(const std::string& bytes, uint64_t offset)
{
    char field[Format::FIELD_SIZE];
    std::memcpy(field, bytes.data() + offset, sizeof field);
    Format::CleanField(field);
    return std::string(field, Format::TextLength(field));
}

bool FieldWithin(const std::string& bytes, uint64_t offset)
{
    return offset + Format::FIELD_SIZE <= bytes.size();
}

// Stops where the bytes end, however many slots the header declares.
void AppendEntry(const std::string& bytes, int index, uint64_t offset, uint64_t slotCount, const CodePageTable* page,
                 std::string& text)
{
    const uint64_t ambientAt = offset + Format::FIELD_SIZE;
    const int ambient = ambientAt < bytes.size() ? static_cast<unsigned char>(bytes[ambientAt]) : 0;
    TableDump::AppendTilesetText(index, FieldText(bytes, offset), ambient, page, text);
    for (uint64_t slot = 0; slot < slotCount; ++slot) {
        const uint64_t slotAt = offset + Format::SLOTS_OFFSET + Format::FIELD_SIZE * slot;
        if (!FieldWithin(bytes, slotAt)) {
            return;
        }
        const std::string slotText = FieldText(bytes, slotAt);
        TableDump::AppendSlotText(slot, slotText.data(), slotText.size(), page, text);
    }
}

} // namespace

void RawTableDump::WriteText(const std::string& bytes, const CodePageTable* page, std::ostream& out)
{
    char headerBytes[Format::HEADER_SIZE] = {};
    bytes.copy(headerBytes, sizeof headerBytes);
    const Format::Header header = Format::DecodeHeader(headerBytes);
    out << "tilesets " << header.tilesetCount << "\n";
    const uint64_t entrySize = Format::EntrySize(header.slotsPerTileset);
    std::string text;
    for (int i = 0; i < header.tilesetCount; ++i) {
        const uint64_t offset = Format::HEADER_SIZE + entrySize * static_cast<uint64_t>(i);
        if (!FieldWithin(bytes, offset)) {
            return;
        }
        text.clear();
        AppendEntry(bytes, i, offset, header.slotsPerTileset, page, text);
        out << text;
    }
}
