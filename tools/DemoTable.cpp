#include "tools/DemoTable.h"

#include "data/TilesetTable.h"
#include "tools/RecordText.h"

#include <cstdint>
#include <iterator>

namespace {

struct DemoTileset {
    const char* name;
    uint8_t ambient;
};

struct DemoSlot {
    int tileset;
    int slot;
    const char* text;
};

// Texts are in Windows-1252, the code page the editor shows them in on a
// Western system: \xE9 is e acute, \x80 the euro sign, \xFF y diaeresis.
const DemoTileset DEMO_TILESETS[] = {
    {"Grassland", 3}, {"Caf\xE9 Terrace", 12}, {"Desert", 255}, {"Schlo\xDF M\xFChlental", 40},
    {"Cave", 0},      {"Unused", 0},
};

const DemoSlot DEMO_SLOTS[] = {
    {0, 0, "grass"},
    {0, 1, "flowers"},
    {0, 2, "tall grass"},
    {0, 4, "dirt path"},
    {0, 10, "pond"},
    {1, 0, "table"},
    {1, 1, "chair"},
    {1, 2, "cr\xEApe stand"},
    {1, 3, "\x80 coin"},
    {2, 0, "sand"},
    {2, 1, "dune"},
    {2, 5, "cactus"},
    {2, 150, "oasis"},
    {3, 0, "Zinnen"},
    {3, 1, "Tor"},
    {3, 2,
     "Br\xFC"
     "cke"},
    {3, 7, "\xBFqu\xE9?"},
    {4, 0, "rock"},
    {4, 1, "stalagmite"},
    {4, 3, "\xFF marker"},
    {4, 30, "thirty-one bytes fill this slot"},
};

} // namespace

void DemoTable::Fill(TilesetTable& table)
{
    table.SetRecordCount(static_cast<int>(std::size(DEMO_TILESETS)));
    for (int i = 0; i < table.RecordCount(); ++i) {
        RecordText::SetName(DEMO_TILESETS[i].name, table.RecordAt(i));
        table.RecordAt(i).ambient = DEMO_TILESETS[i].ambient;
    }
    for (const DemoSlot& demo : DEMO_SLOTS) {
        RecordText::SetSlot(demo.text, demo.slot, table.RecordAt(demo.tileset));
    }
}
