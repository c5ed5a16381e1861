#pragma once

#include <string>
#include <vector>

struct CodePageTable;
class TilesetTable;

// A three-way merge of tables, field by field: name, ambient number, each slot.
class TableMerge {
public:
    // result becomes ours, with each field that only theirs changed from base
    // taken from theirs. A field that both changed, each differently, is a
    // conflict: it keeps ours and gives one line with the three values. Tables
    // whose counts differ are not merged at all: the editor never changes the
    // count, so tilesets of the same index need not be the same tileset; result
    // is then ours whole, and the counts are the one conflict. The values are
    // shown as the dump shows them, plain or in the code page.
    static std::vector<std::string> Merge(const TilesetTable& base, const TilesetTable& ours,
                                          const TilesetTable& theirs, const CodePageTable* page, TilesetTable& result);
};
