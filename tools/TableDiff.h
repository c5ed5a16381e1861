#pragma once

#include <string>
#include <vector>

struct CodePageTable;
class TilesetTable;

// What differs between two tables, as a reviewer reads it.
class TableDiff {
public:
    // One line a change, in file order: the count, then each tileset's name,
    // ambient number and slots, old and new as the dump shows them, plain or
    // in the code page. A tileset that only one table has is compared with an
    // empty one.
    static std::vector<std::string> Lines(const TilesetTable& before, const TilesetTable& after,
                                          const CodePageTable* page);
};
