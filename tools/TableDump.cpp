#include "tools/TableDump.h"

#include "data/TilesetTable.h"

#include <ostream>
#include <string>

namespace {

const char HEX_DIGITS[] = "0123456789ABCDEF";

bool IsPrintableAscii(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

std::string HexByte(unsigned char byte)
{
    return {HEX_DIGITS[byte >> 4], HEX_DIGITS[byte & 0x0F]};
}

// The quote and the backslash are escaped too, so that every text reads back unambiguously.
std::string Quoted(const std::string& text, const std::string& byteEscape)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (IsPrintableAscii(byte)) {
            quoted += c;
        } else {
            quoted += byteEscape + HexByte(byte);
        }
    }
    return quoted + "\"";
}

std::string TextQuoted(const std::string& text)
{
    return Quoted(text, "\\x");
}

std::string JsonQuoted(const std::string& text)
{
    return Quoted(text, "\\u00");
}

// Each unit of the name is one byte of the file widened, so narrowing gives the file's bytes back.
std::string NameBytes(const TilesetRecord& record)
{
    std::string name;
    for (int k = 0; k < NAME_FIELD_SIZE && record.name[k] != 0; ++k) {
        name += static_cast<char>(record.name[k] & 0xFF);
    }
    return name;
}

std::string SlotText(const TilesetRecord& record, int slot)
{
    const char* const field = record.slots[slot];
    std::string text;
    for (int k = 0; k < NAME_FIELD_SIZE && field[k] != '\0'; ++k) {
        text += field[k];
    }
    return text;
}

void WriteTextRecord(const TilesetRecord& record, int index, std::ostream& out)
{
    out << "\ntileset " << index << "\n";
    out << "  name " << TextQuoted(NameBytes(record)) << "\n";
    out << "  ambient " << static_cast<unsigned>(record.ambient) << "\n";
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        if (record.slots[slot][0] != '\0') {
            out << "  slot " << slot << " " << TextQuoted(SlotText(record, slot)) << "\n";
        }
    }
}

void WriteJsonSlots(const TilesetRecord& record, std::ostream& out)
{
    const char* separator = "\n";
    bool any = false;
    out << "      \"slots\": [";
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        if (record.slots[slot][0] != '\0') {
            out << separator << "        { \"index\": " << slot
                << ", \"text\": " << JsonQuoted(SlotText(record, slot)) << " }";
            separator = ",\n";
            any = true;
        }
    }
    out << (any ? "\n      ]\n" : "]\n");
}

void WriteJsonRecord(const TilesetRecord& record, int index, std::ostream& out)
{
    out << "    {\n";
    out << "      \"index\": " << index << ",\n";
    out << "      \"name\": " << JsonQuoted(NameBytes(record)) << ",\n";
    out << "      \"ambient\": " << static_cast<unsigned>(record.ambient) << ",\n";
    WriteJsonSlots(record, out);
    out << "    }";
}

} // namespace

void TableDump::WriteText(const TilesetTable& table, std::ostream& out)
{
    out << "tilesets " << table.RecordCount() << "\n";
    for (int i = 0; i < table.RecordCount(); ++i) {
        WriteTextRecord(table.RecordAt(i), i, out);
    }
}

void TableDump::WriteJson(const TilesetTable& table, std::ostream& out)
{
    out << "{\n  \"tilesets\": [";
    for (int i = 0; i < table.RecordCount(); ++i) {
        out << (i == 0 ? "\n" : ",\n");
        WriteJsonRecord(table.RecordAt(i), i, out);
    }
    out << (table.RecordCount() == 0 ? "]\n}\n" : "\n  ]\n}\n");
}
