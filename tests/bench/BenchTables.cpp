#include "tests/bench/BenchTables.h"

#include <algorithm>
#include <random>
#include <string>

TilesetTable BenchTables::Largest()
{
    std::mt19937 random(151);
    std::uniform_int_distribution<int> textLength(0, NAME_FIELD_SIZE - 1);
    TilesetTable table;
    table.SetRecordCount(MAX_TILESET_COUNT);
    for (int i = 0; i < MAX_TILESET_COUNT; ++i) {
        TilesetRecord& record = table.RecordAt(i);
        const std::string name = "Tileset " + std::to_string(i);
        std::copy(name.begin(), name.end(), record.name);
        record.ambient = static_cast<uint8_t>(i);
        for (char(&slot)[NAME_FIELD_SIZE] : record.slots) {
            const int length = textLength(random);
            std::fill(slot, slot + length, static_cast<char>('a' + length % 26));
        }
    }
    return table;
}
