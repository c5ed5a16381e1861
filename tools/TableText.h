#pragma once

#include <iosfwd>
#include <string>

class TableBuilder;
class TilesetTable;
struct CodePageTable;

// The table as text, for people and diffs, and back: one block a tileset, its
// index, name and ambient number, then each non-empty slot as index and text,
// texts quoted as DumpNotation writes them. Plain (page null) the text is
// ASCII; in a code page it is UTF-8. The same table always gives the same bytes.
namespace TableText {

void Write(const TilesetTable& table, const CodePageTable* page, std::ostream& out);
// The entries of a table file as they lie in its bytes, for a file that the
// editor refuses: each with all the slots its header declares, as far as the
// bytes go. A field without a NUL shows its first 31 bytes, as the editor
// would keep them.
void WriteEntries(const std::string& bytes, const CodePageTable* page, std::ostream& out);
// Reads the text that Write prints back into a table. Lines may be indented
// anyhow, blank lines go anywhere and CR LF line ends are taken as well; each
// line that breaks a rule gives one error, and reading goes on. In a code page
// the input is UTF-8 and a text may hold the code page's characters, each
// taken as its byte.
void Read(const std::string& input, const CodePageTable* page, TableBuilder& builder);

} // namespace TableText
