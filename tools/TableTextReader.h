#pragma once

#include <string>

class TableBuilder;

// Reads the text that the dump prints back into a table. Lines may be
// indented anyhow, blank lines go anywhere and CR LF line ends are taken as
// well; each line that breaks a rule gives one error, and reading goes on.
class TableTextReader {
public:
    static void Read(const std::string& input, TableBuilder& builder);
};
