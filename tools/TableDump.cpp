#include "tools/TableDump.h"

#include "data/TilesetTable.h"
#include "tools/DumpQuoting.h"
#include "tools/RecordText.h"

#include <ostream>

namespace {

void WriteTextRecord(const TilesetRecord& record, int index, std::ostream& out)
{
    out << "\ntileset " << index << "\n";
    out << "  name " << DumpQuoting::Text(RecordText::Name(record)) << "\n";
    out << "  ambient " << static_cast<unsigned>(record.ambient) << "\n";
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        if (record.slots[slot][0] != '\0') {
            out << "  slot " << slot << " " << DumpQuoting::Text(RecordText::Slot(record, slot)) << "\n";
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
                << ", \"text\": " << DumpQuoting::Json(RecordText::Slot(record, slot)) << " }";
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
    out << "      \"name\": " << DumpQuoting::Json(RecordText::Name(record)) << ",\n";
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
