#pragma once

#include <string>

class TableBuilder;

// Reads the dump's JSON back into a table: {"tilesets": [{"index", "name",
// "ambient", "slots": [{"index", "text"}]}]}. The table has as many tilesets as
// the list; a tileset's index, when given, is its place in the list. Values
// left out stay empty. Errors name the JSON path and its line and column.
class TableJsonReader {
public:
    static void Read(const std::string& input, TableBuilder& builder);
};
