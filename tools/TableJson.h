#pragma once

#include <iosfwd>
#include <string>

class TableBuilder;
class TilesetTable;
struct CodePageTable;

// The table as JSON, for scripts, and back: {"tilesets": [{"index", "name",
// "ambient", "slots": [{"index", "text"}]}]}. Plain (page null), each byte of a
// text is the character of the same number (U+0000 to U+00FF), and the JSON is
// ASCII, the others escaped as \u00NN; in a code page, each byte is its
// character there. The same table always gives the same bytes.
namespace TableJson {

// In a code page, the table must have no byte that ByteWithoutCharacter finds.
void Write(const TilesetTable& table, const CodePageTable* page, std::ostream& out);
// The first byte of a text that the code page leaves undefined, with its
// place: "tileset 3 slot 7: byte 0x98"; empty where there is none.
std::string ByteWithoutCharacter(const TilesetTable& table, const CodePageTable& page);
// Reads JSON back into a table, which has as many tilesets as the list; a
// tileset's index, when given, is its place in the list. Values left out stay
// empty. Errors name the JSON path and its line and column. Texts are read
// plain or in the code page, as JsonParser tells.
void Read(const std::string& input, const CodePageTable* page, TableBuilder& builder);

} // namespace TableJson
