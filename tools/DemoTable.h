#pragma once

class TilesetTable;

// A small table to try the editor on: named tilesets with filled and empty
// slots, texts with bytes from 0x80 to 0xFF and one ambient number of 255.
namespace DemoTable {

// table is empty.
void Fill(TilesetTable& table);

} // namespace DemoTable
