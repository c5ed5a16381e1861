#pragma once

#include "data/TilesetTable.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

struct CodePageTable;
struct PatchLine;
struct TablePatch;

// What became of one line of a patch.
enum PatchOutcome {
    // The field held the old value and took the new one.
    PATCH_APPLIES,
    // It held the new value already.
    PATCH_ALREADY_APPLIED,
    // It held what an earlier patch of the run wrote, and took this one's value.
    PATCH_OVERRIDES,
    // It held something else, and kept it.
    PATCH_CONFLICT,
    // No tileset, or more than one, answers to the line.
    PATCH_NOT_APPLIED,
    PATCH_OUTCOME_COUNT,
};

struct PatchCounts {
    uint64_t of[PATCH_OUTCOME_COUNT] = {};
};

// Patches applied onto one table one after another, in a load order, where the
// later patch wins. Each line finds its tileset in the table as it was before
// the run, so that a rename, by the patch or an earlier one, does not lose its
// lines: the tileset at the line's index where it has the line's name, or else
// the one tileset of that name. Reversed, each line's new and old values swap,
// and the names looked for are the patch's own new name for the tileset, then
// the one it has after the renames of the whole load order.
class LoadOrder {
public:
    LoadOrder(TilesetTable& table, bool reverse);

    // Reversed, each patch of the run is traced first, last to first, before
    // any is applied: its renames decide which names its lines, and those of
    // the patches before it, look for.
    void TraceRenames(const TablePatch& patch);
    // Changes the table by patch, which listed lines call name. Each line that
    // overrides, conflicts or does not apply is written to listed, where it is
    // not null, one a line, beginning with its kind and its patch's name and line.
    PatchCounts Apply(const TablePatch& patch, const std::string& name, std::ostream* listed);
    // Whether the table differs now from what it was before the run.
    bool Changed() const;

private:
    // Who wrote a field of the table in this run: the patch's place in the
    // run and its line; patch -1 for none.
    struct Writer {
        int patch = -1;
        int line = 0;
    };

    struct NameCount {
        int first = 0;
        int count = 0;
    };

    // The tileset that the line answers to by one of the names it may have,
    // or -1 after telling why none does.
    int Find(const PatchLine& line, const std::vector<const std::string*>& names, const CodePageTable* page,
             std::ostream* listed) const;
    PatchOutcome ApplyLine(const PatchLine& line, int tileset, const CodePageTable* page, std::ostream* listed);
    std::ostream& List(std::ostream& listed, const char* kind, const PatchLine& line, int found,
                       const CodePageTable* page) const;

    TilesetTable& table;
    const TilesetTable before;
    const bool reverse;
    std::vector<std::string> beforeNames;
    std::map<std::string, NameCount> byName;
    // Reversed: for each name that leads to a name of the table through the
    // renames of the run, in load order, that name.
    std::map<std::string, std::string> finalNames;
    std::vector<Writer> writers;
    // The patches applied so far, in the run's order.
    std::vector<std::string> patchNames;
    std::vector<const CodePageTable*> patchPages;
};
