#pragma once

#include <iosfwd>
#include <string>

struct CodePageTable;

// The text dump of a table file's entries as they lie in its bytes, for a
// file that the editor refuses: each with all the slots its header declares,
// as far as the bytes go. A field without a NUL shows its first 31 bytes, as
// the editor would keep them. Texts are quoted as TableDump quotes them, plain
// or in the code page.
class RawTableDump {
public:
    static void WriteText(const std::string& bytes, const CodePageTable* page, std::ostream& out);
};
