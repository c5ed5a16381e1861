#include "tools/TableDump.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetTable.h"
#include "tools/DumpQuoting.h"
#include "tools/RecordText.h"

#include <ostream>
#include <string>

// Each tileset is put together in a string and written in one piece: a stream
// insertion per value took most of the time of a large table's dump.

namespace {

std::size_t SlotLength(const TilesetRecord& record, int slot)
{
    return TilesetFileFormat::TextLength(record.slots[slot]);
}

void AppendTextRecord(const TilesetRecord& record, int index, std::string& text)
{
    const std::string name = RecordText::Name(record);
    TableDump::AppendTilesetText(index, name, record.ambient, text);
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        TableDump::AppendSlotText(static_cast<uint64_t>(slot), record.slots[slot], SlotLength(record, slot), text);
    }
}

void AppendJsonSlots(const TilesetRecord& record, std::string& json)
{
    const char* separator = "\n";
    bool any = false;
    json += "      \"slots\": [";
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        if (record.slots[slot][0] != '\0') {
            json += separator;
            json += "        { \"index\": " + std::to_string(slot) + ", \"text\": ";
            DumpQuoting::AppendJson(record.slots[slot], SlotLength(record, slot), json);
            json += " }";
            separator = ",\n";
            any = true;
        }
    }
    json += any ? "\n      ]\n" : "]\n";
}

void AppendJsonRecord(const TilesetRecord& record, int index, std::string& json)
{
    const std::string name = RecordText::Name(record);
    json += "    {\n      \"index\": " + std::to_string(index) + ",\n      \"name\": ";
    DumpQuoting::AppendJson(name.data(), name.size(), json);
    json += ",\n      \"ambient\": " + std::to_string(record.ambient) + ",\n";
    AppendJsonSlots(record, json);
    json += "    }";
}

} // namespace

void TableDump::WriteText(const TilesetTable& table, std::ostream& out)
{
    out << "tilesets " << table.RecordCount() << "\n";
    std::string text;
    for (int i = 0; i < table.RecordCount(); ++i) {
        text.clear();
        AppendTextRecord(table.RecordAt(i), i, text);
        out << text;
    }
}

void TableDump::WriteJson(const TilesetTable& table, std::ostream& out)
{
    out << "{\n  \"tilesets\": [";
    std::string json;
    for (int i = 0; i < table.RecordCount(); ++i) {
        json = i == 0 ? "\n" : ",\n";
        AppendJsonRecord(table.RecordAt(i), i, json);
        out << json;
    }
    out << (table.RecordCount() == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

void TableDump::AppendTilesetText(int index, const std::string& name, int ambient, std::string& text)
{
    text += "\ntileset " + std::to_string(index) + "\n  name ";
    DumpQuoting::AppendText(name.data(), name.size(), text);
    text += "\n  ambient " + std::to_string(ambient) + "\n";
}

void TableDump::AppendSlotText(uint64_t slot, const char* bytes, std::size_t length, std::string& text)
{
    if (length != 0) {
        text += "  slot " + std::to_string(slot) + " ";
        DumpQuoting::AppendText(bytes, length, text);
        text += '\n';
    }
}
