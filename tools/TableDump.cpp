#include "tools/TableDump.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DumpQuoting.h"
#include "tools/NumberText.h"
#include "tools/RecordText.h"

#include <ostream>
#include <string>
#include <string_view>

// Each tileset is put together in a string and written in one piece: a stream
// insertion per value took most of the time of a large table's dump.

namespace {

std::size_t SlotLength(const TilesetRecord& record, int slot)
{
    return TilesetFileFormat::TextLength(record.slots[slot]);
}

void AppendTextRecord(const TilesetRecord& record, int index, const CodePageTable* page, std::string& text)
{
    const std::string name = RecordText::Name(record);
    TableDump::AppendTilesetText(index, name, record.ambient, page, text);
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        TableDump::AppendSlotText(static_cast<uint64_t>(slot), record.slots[slot], SlotLength(record, slot), page,
                                  text);
    }
}

void AppendJsonSlots(const TilesetRecord& record, const CodePageTable* page, std::string& json)
{
    const char* separator = "\n";
    bool any = false;
    json += "      \"slots\": [";
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        if (record.slots[slot][0] != '\0') {
            json += separator;
            json += "        { \"index\": " + std::to_string(slot) + ", \"text\": ";
            DumpQuoting::AppendJson(record.slots[slot], SlotLength(record, slot), page, json);
            json += " }";
            separator = ",\n";
            any = true;
        }
    }
    json += any ? "\n      ]\n" : "]\n";
}

void AppendJsonRecord(const TilesetRecord& record, int index, const CodePageTable* page, std::string& json)
{
    const std::string name = RecordText::Name(record);
    json += "    {\n      \"index\": " + std::to_string(index) + ",\n      \"name\": ";
    DumpQuoting::AppendJson(name.data(), name.size(), page, json);
    json += ",\n      \"ambient\": " + std::to_string(record.ambient) + ",\n";
    AppendJsonSlots(record, page, json);
    json += "    }";
}

// "byte 0x98" for the first byte of text that page leaves undefined; empty for none.
std::string ByteWithoutCharacterIn(std::string_view text, const CodePageTable& page)
{
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (CodePage::CharacterOf(page, byte) == CodePage::NO_CHARACTER) {
            return "byte 0x" + NumberText::HexByte(byte);
        }
    }
    return {};
}

} // namespace

void TableDump::WriteText(const TilesetTable& table, const CodePageTable* page, std::ostream& out)
{
    out << "tilesets " << table.RecordCount() << "\n";
    std::string text;
    for (int i = 0; i < table.RecordCount(); ++i) {
        text.clear();
        AppendTextRecord(table.RecordAt(i), i, page, text);
        out << text;
    }
}

void TableDump::WriteJson(const TilesetTable& table, const CodePageTable* page, std::ostream& out)
{
    out << "{\n  \"tilesets\": [";
    std::string json;
    for (int i = 0; i < table.RecordCount(); ++i) {
        json = i == 0 ? "\n" : ",\n";
        AppendJsonRecord(table.RecordAt(i), i, page, json);
        out << json;
    }
    out << (table.RecordCount() == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

std::string TableDump::ByteWithoutCharacter(const TilesetTable& table, const CodePageTable& page)
{
    for (int i = 0; i < table.RecordCount(); ++i) {
        const TilesetRecord& record = table.RecordAt(i);
        std::string where = "tileset " + std::to_string(i);
        const std::string inName = ByteWithoutCharacterIn(RecordText::Name(record), page);
        if (!inName.empty()) {
            return where.append(" name: ").append(inName);
        }
        for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
            const std::string inSlot = ByteWithoutCharacterIn(RecordText::Slot(record, slot), page);
            if (!inSlot.empty()) {
                return where.append(" slot ").append(std::to_string(slot)).append(": ").append(inSlot);
            }
        }
    }
    return {};
}

void TableDump::AppendTilesetText(int index, const std::string& name, int ambient, const CodePageTable* page,
                                  std::string& text)
{
    text += "\ntileset " + std::to_string(index) + "\n  name ";
    DumpQuoting::AppendText(name.data(), name.size(), page, text);
    text += "\n  ambient " + std::to_string(ambient) + "\n";
}

void TableDump::AppendSlotText(uint64_t slot, const char* bytes, std::size_t length, const CodePageTable* page,
                               std::string& text)
{
    if (length != 0) {
        text += "  slot " + std::to_string(slot) + " ";
        DumpQuoting::AppendText(bytes, length, page, text);
        text += '\n';
    }
}
