#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

class TilesetTable;
struct CodePageTable;

// The whole table as text for people and diffs, or as JSON for scripts. Plain
// (page null), both are ASCII: each byte that is not printable ASCII is
// written as an escape. In a code page, they are UTF-8, each byte that shows
// as a character written as that character (DumpQuoting). Either way the same
// table always gives the same bytes.
class TableDump {
public:
    // One block a tileset: its index, name and ambient number, then each
    // non-empty slot as index and text; other bytes as \xNN.
    static void WriteText(const TilesetTable& table, const CodePageTable* page, std::ostream& out);
    // The same as one JSON object. Plain, each byte of a text is the character
    // of the same number (U+0000 to U+00FF), the others escaped as \u00NN. In a
    // code page, each byte is its character there: the table must have no byte
    // that ByteWithoutCharacter finds.
    static void WriteJson(const TilesetTable& table, const CodePageTable* page, std::ostream& out);
    // The first byte of a text that the code page leaves undefined, with its
    // place: "tileset 3 slot 7: byte 0x98"; empty where there is none.
    static std::string ByteWithoutCharacter(const TilesetTable& table, const CodePageTable& page);

    // The parts of a tileset's text block, for a view of a file's own entries
    // too: the index, name and ambient number, then a line a slot with text.
    static void AppendTilesetText(int index, const std::string& name, int ambient, const CodePageTable* page,
                                  std::string& text);
    static void AppendSlotText(uint64_t slot, const char* bytes, std::size_t length, const CodePageTable* page,
                               std::string& text);
};
