#include "data/TilesetFileCheck.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetFileView.h"

#include <cstring>

namespace {

using Format = TilesetFileFormat;

bool LacksNul(const char* field)
{
    return std::memchr(field, '\0', Format::FIELD_SIZE) == nullptr;
}

// A field whose last byte is zero holds a NUL; testing that byte alone of each
// field, without a branch, keeps the check of a sound file to a fraction of its reading.
bool EndInNul(const char* fields, std::size_t count)
{
    unsigned char last = 0;
    for (std::size_t k = 0; k < count; ++k) {
        last = static_cast<unsigned char>(last | static_cast<unsigned char>(fields[Format::FIELD_SIZE * (k + 1) - 1]));
    }
    return last == 0;
}

} // namespace

std::vector<TilesetFileProblem> TilesetFileCheck::Check(const std::string& bytes)
{
    return Check(TilesetFileView(bytes));
}

std::vector<TilesetFileProblem> TilesetFileCheck::Check(const std::string& bytes, std::optional<uint64_t> fileSize)
{
    return Check(TilesetFileView(bytes, fileSize));
}

std::vector<TilesetFileProblem> TilesetFileCheck::Check(const TilesetFileView& view)
{
    std::vector<TilesetFileProblem> problems;
    CheckHeader(view, problems);
    for (int i = 0; i < view.EntryCount(); ++i) {
        CheckEntry(view, view.Entry(i), problems);
    }
    CheckEnd(view, problems);
    return problems;
}

void TilesetFileCheck::CheckHeader(const TilesetFileView& view, std::vector<TilesetFileProblem>& problems)
{
    if (view.Bytes().empty()) {
        problems.push_back({TILESET_PROBLEM_EMPTY_FILE, 0});
        return;
    }
    if (!view.HoldsHeader()) {
        problems.push_back({TILESET_PROBLEM_HEADER_CUT_SHORT, 0, view.Bytes().size(), Format::HEADER_SIZE});
        return;
    }
    const uint64_t declared = static_cast<uint64_t>(view.Header().tilesetCount);
    if (view.WholeEntries() < declared) {
        problems.push_back({TILESET_PROBLEM_MISSING_ENTRIES, 0, view.WholeEntries(), declared});
    }
    const uint64_t slotCount = view.Header().slotsPerTileset;
    if (slotCount < SLOTS_PER_TILESET) {
        problems.push_back({TILESET_PROBLEM_FEWER_SLOTS, 1, slotCount, SLOTS_PER_TILESET});
    } else if (slotCount > SLOTS_PER_TILESET) {
        problems.push_back({TILESET_PROBLEM_TOO_MANY_SLOTS, 1, slotCount, SLOTS_PER_TILESET});
    }
}

void TilesetFileCheck::CheckEntry(const TilesetFileView& view, const TilesetEntryView& entry,
                                  std::vector<TilesetFileProblem>& problems)
{
    CheckEntry(view, entry, false, problems);
}

// Only the fields that the file holds whole are checked; a field cut off by the
// end of the file is part of the entry's own problem. A clean field ends in its NUL.
void TilesetFileCheck::CheckEntry(const TilesetFileView& view, const TilesetEntryView& entry, bool slotsClean,
                                  std::vector<TilesetFileProblem>& problems)
{
    if (entry.held < view.EntrySize()) {
        problems.push_back({TILESET_PROBLEM_ENTRY_CUT_SHORT, entry.offset, entry.held, view.EntrySize(), entry.index});
    }
    if (entry.HoldsName() && LacksNul(entry.bytes)) {
        problems.push_back({TILESET_PROBLEM_NAME_WITHOUT_NUL, entry.offset, 0, 0, entry.index});
    }
    const std::size_t wholeSlots = entry.WholeSlots();
    if (slotsClean || EndInNul(entry.Slots(), wholeSlots)) {
        return;
    }
    for (std::size_t slot = 0; slot < wholeSlots; ++slot) {
        if (LacksNul(entry.Slots() + Format::FIELD_SIZE * slot)) {
            problems.push_back({TILESET_PROBLEM_SLOT_WITHOUT_NUL,
                                entry.offset + Format::SLOTS_OFFSET + Format::FIELD_SIZE * slot, 0, 0, entry.index,
                                slot});
        }
    }
}

// After the last entry: counted where the size is known, else whatever the bytes
// read hold past it, as a count of 0.
void TilesetFileCheck::CheckEnd(const TilesetFileView& view, std::vector<TilesetFileProblem>& problems)
{
    if (!view.HoldsHeader()) {
        return;
    }
    const uint64_t end = view.EntriesEnd();
    if (!view.SizeKnown()) {
        if (view.Bytes().size() > end) {
            problems.push_back({TILESET_PROBLEM_BYTES_AFTER_ENTRIES, end, 0});
        }
    } else if (view.FileSize() > end) {
        problems.push_back({TILESET_PROBLEM_BYTES_AFTER_ENTRIES, end, view.FileSize() - end});
    }
}
