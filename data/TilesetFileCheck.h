#pragma once

#include "data/TilesetFileProblem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TilesetFileView;
struct TilesetEntryView;

// Validates the bytes of a tileset table file against the layout the editor
// writes, finding what the load would quietly repair, cut or refuse.
class TilesetFileCheck {
public:
    // Every problem in file order; none for a file as the editor writes it.
    static std::vector<TilesetFileProblem> Check(const std::string& bytes);
    // The same where bytes are only the start of a file of fileSize bytes, or
    // of one that goes on past them by an unknown length (nullopt): the fields
    // past bytes are not looked at, and with no size known no entry is taken
    // to be missing or cut short, and the bytes after the last entry are not counted.
    static std::vector<TilesetFileProblem> Check(const std::string& bytes, std::optional<uint64_t> fileSize);
    static std::vector<TilesetFileProblem> Check(const TilesetFileView& view);

    // The three parts of Check in file order, for a walk of the entries that
    // does more at each (the load, which fills the table on the same pass).
    static void CheckHeader(const TilesetFileView& view, std::vector<TilesetFileProblem>& problems);
    static void CheckEntry(const TilesetFileView& view, const TilesetEntryView& entry,
                           std::vector<TilesetFileProblem>& problems);
    // The same where the caller may know already that the slot fields the
    // entry holds whole are clean (the load's copy of them looks at each byte).
    static void CheckEntry(const TilesetFileView& view, const TilesetEntryView& entry, bool slotsClean,
                           std::vector<TilesetFileProblem>& problems);
    static void CheckEnd(const TilesetFileView& view, std::vector<TilesetFileProblem>& problems);
};
