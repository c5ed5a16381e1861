#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

class TilesetTable;

// The whole table as text for people and diffs, or as JSON for scripts. Both
// are plain ASCII: each byte that is not printable ASCII is written as an
// escape, so the same table always gives the same bytes.
class TableDump {
public:
    // One block a tileset: its index, name and ambient number, then each
    // non-empty slot as index and text; other bytes as \xNN.
    static void WriteText(const TilesetTable& table, std::ostream& out);
    // The same as one JSON object; each byte of a text is the character of
    // the same number (U+0000 to U+00FF), the others escaped as \u00NN.
    static void WriteJson(const TilesetTable& table, std::ostream& out);

    // The parts of a tileset's text block, for a view of a file's own entries
    // too: the index, name and ambient number, then a line a slot with text.
    static void AppendTilesetText(int index, const std::string& name, int ambient, std::string& text);
    static void AppendSlotText(uint64_t slot, const char* bytes, std::size_t length, std::string& text);
};
