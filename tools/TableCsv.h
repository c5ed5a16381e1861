#pragma once

#include <iosfwd>
#include <string>

class TableBuilder;
class TilesetTable;
struct CodePageTable;

// The table as CSV, for spreadsheets, and back: RFC 4180 in UTF-8 with a byte
// order mark (Excel reads the letters only then) and CR LF line ends. The
// columns tileset, name, ambient, slot and text; one row for every slot of
// every tileset, empty ones included, so that a spreadsheet can sort, filter
// and fill them. Texts hold characters as the JSON dump does: plain (page
// null) each byte is the character of the same number, in a code page its
// character there. A text that a spreadsheet would take for a formula starts
// with one ' more, which the reader takes away.
namespace TableCsv {

// In a code page, the table must have no byte that TableJson::ByteWithoutCharacter finds.
void Write(const TilesetTable& table, const CodePageTable* page, std::ostream& out);
// Reads CSV back into a table of as many tilesets as the highest index given
// asks for. Columns are found by their header's names, in any order, and
// others are left alone; rows come in any order, and a slot without a row
// stays empty. Taken too: no byte order mark, LF or CR line ends, quotes
// around any field, and ';' between fields, as Excel writes where the decimal
// mark is a comma. Errors name the line, the column and its name.
void Read(const std::string& input, const CodePageTable* page, TableBuilder& builder);

} // namespace TableCsv
