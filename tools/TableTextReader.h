#pragma once

#include <string>

class TableBuilder;
struct CodePageTable;

// Reads the text that the dump prints back into a table. Lines may be
// indented anyhow, blank lines go anywhere and CR LF line ends are taken as
// well; each line that breaks a rule gives one error, and reading goes on.
// With a code page (page not null), the input is UTF-8 and a text may hold
// the code page's characters, each taken as its byte.
class TableTextReader {
public:
    static void Read(const std::string& input, const CodePageTable* page, TableBuilder& builder);
};
