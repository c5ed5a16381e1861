#pragma once

#include <string>

class TableBuilder;
struct CodePageTable;

// Reads the dump's JSON back into a table: {"tilesets": [{"index", "name",
// "ambient", "slots": [{"index", "text"}]}]}. The table has as many tilesets as
// the list; a tileset's index, when given, is its place in the list. Values
// left out stay empty. Errors name the JSON path and its line and column.
// Texts are read plain or in the code page, as JsonParser tells.
class TableJsonReader {
public:
    static void Read(const std::string& input, const CodePageTable* page, TableBuilder& builder);
};
