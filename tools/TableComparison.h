#pragma once

#include <string>
#include <vector>

struct CodePageTable;
class TilesetTable;

// Two tables compared, and three merged, field by field: each tileset's name,
// ambient number and slots. Values are shown as the text dump shows them,
// plain or in the code page.
namespace TableComparison {

// One field that differs between two tables, its values as the dump shows them.
struct FieldChange {
    int tileset;
    // RecordField::Slot(): the slot's index, or RecordField::NAME or RecordField::AMBIENT.
    int slot;
    // "name", "ambient" or "slot N".
    std::string label;
    std::string before;
    std::string after;
};

// Every field that differs, in file order. A tileset that only one table has
// is compared with an empty one.
std::vector<FieldChange> Changes(const TilesetTable& before, const TilesetTable& after, const CodePageTable* page);

// What differs, as a reviewer reads it: one line a change, in file order: the
// count, then each of the Changes.
std::vector<std::string> Differences(const TilesetTable& before, const TilesetTable& after, const CodePageTable* page);

// result becomes ours, with each field that only theirs changed from base
// taken from theirs. A field that both changed, each differently, is a
// conflict: it keeps ours and gives one line with the three values. Tables
// whose counts differ are not merged at all: the editor never changes the
// count, so tilesets of the same index need not be the same tileset; result
// is then ours whole, and the counts are the one conflict.
std::vector<std::string> Merge(const TilesetTable& base, const TilesetTable& ours, const TilesetTable& theirs,
                               const CodePageTable* page, TilesetTable& result);

// For a merge of several THEIRS into ours, one after another by Merge's
// rules, where OURS, then the earlier THEIRS, win: result starts as ours and
// takes theirs, names[source]; sources holds, for each field, the table
// (index into names, 0 for ours) that result's value came from. The counts
// are checked first, by the caller. Each conflict line names the table of each value.
std::vector<std::string> MergeNext(const TilesetTable& base, const TilesetTable& theirs, int source,
                                   const std::vector<std::string>& names, const CodePageTable* page,
                                   TilesetTable& result, std::vector<int>& sources);
// The one conflict of tables whose counts differ: counts[0] is base's, then
// each of names (ours, then each theirs) in turn.
std::string CountConflict(const std::vector<std::string>& names, const std::vector<int>& counts);

} // namespace TableComparison
