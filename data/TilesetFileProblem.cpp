#include "data/TilesetFileProblem.h"

#include <cstdlib>

namespace {

std::string Plural(uint64_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

bool TilesetFileProblem::operator==(const TilesetFileProblem& other) const
{
    return kind == other.kind && offset == other.offset && found == other.found && expected == other.expected &&
           tileset == other.tileset && slot == other.slot;
}

std::string TilesetFileProblem::Description() const
{
    switch (kind) {
    case TILESET_PROBLEM_EMPTY_FILE:
        return "the file is empty";
    case TILESET_PROBLEM_HEADER_CUT_SHORT:
        return "the file ends inside the header, after " + Plural(found, "byte", "bytes") + " of " +
               std::to_string(expected);
    case TILESET_PROBLEM_MISSING_ENTRIES:
        return "the header declares " + Plural(expected, "tileset", "tilesets") + ", but the file holds " +
               Plural(found, "whole entry", "whole entries");
    case TILESET_PROBLEM_FEWER_SLOTS:
        return "the header declares " + Plural(found, "slot", "slots") + " per tileset, not " +
               std::to_string(expected) + "; the editor saves " + std::to_string(expected);
    case TILESET_PROBLEM_TOO_MANY_SLOTS:
        return "the header declares " + std::to_string(found) + " slots per tileset, more than the " +
               std::to_string(expected) + " a tileset holds; the editor refuses the file";
    case TILESET_PROBLEM_ENTRY_CUT_SHORT:
        return "tileset " + std::to_string(tileset) + " is cut short: the file ends after " +
               Plural(found, "byte", "bytes") + " of its " + std::to_string(expected);
    case TILESET_PROBLEM_NAME_WITHOUT_NUL:
        return "the name of tileset " + std::to_string(tileset) + " has no NUL within its 32 bytes";
    case TILESET_PROBLEM_SLOT_WITHOUT_NUL:
        return "slot " + std::to_string(slot) + " of tileset " + std::to_string(tileset) +
               " has no NUL within its 32 bytes";
    case TILESET_PROBLEM_BYTES_AFTER_ENTRIES:
        return Plural(found, "byte follows", "bytes follow") + " the last entry";
    }
    std::abort();
}
