#include "data/TilesetFileCheck.h"

#include "data/TilesetFileFormat.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

using Format = TilesetFileFormat;

const uint64_t HEADER_SIZE = Format::HEADER_SIZE;
const uint64_t FIELD_SIZE = Format::FIELD_SIZE;
const uint64_t SLOTS_OFFSET = Format::SLOTS_OFFSET;
// A file that goes on without a known end holds every entry its header declares.
const uint64_t ENDLESS = std::numeric_limits<uint64_t>::max();

struct FileLayout {
    uint64_t declaredCount;
    uint64_t slotCount;
    uint64_t entrySize;
    // The whole file's size; ENDLESS where it is not known.
    uint64_t fileSize;
};

FileLayout ReadLayout(const std::string& bytes, uint64_t fileSize)
{
    char headerBytes[Format::HEADER_SIZE];
    bytes.copy(headerBytes, sizeof headerBytes);
    const Format::Header header = Format::DecodeHeader(headerBytes);
    return {static_cast<uint64_t>(header.tilesetCount), header.slotsPerTileset,
            Format::EntrySize(header.slotsPerTileset), fileSize};
}

// Only the fields within the bytes read are looked at.
bool LacksNul(const std::string& bytes, uint64_t fieldOffset)
{
    return fieldOffset + FIELD_SIZE <= bytes.size() &&
           std::memchr(bytes.data() + static_cast<std::size_t>(fieldOffset), '\0', FIELD_SIZE) == nullptr;
}

void CheckHeader(const FileLayout& layout, std::vector<TilesetFileProblem>& problems)
{
    const uint64_t wholeEntries = std::min(layout.declaredCount, (layout.fileSize - HEADER_SIZE) / layout.entrySize);
    if (wholeEntries < layout.declaredCount) {
        problems.push_back({TILESET_PROBLEM_MISSING_ENTRIES, 0, wholeEntries, layout.declaredCount});
    }
    if (layout.slotCount < SLOTS_PER_TILESET) {
        problems.push_back({TILESET_PROBLEM_FEWER_SLOTS, 1, layout.slotCount, SLOTS_PER_TILESET});
    } else if (layout.slotCount > SLOTS_PER_TILESET) {
        problems.push_back({TILESET_PROBLEM_TOO_MANY_SLOTS, 1, layout.slotCount, SLOTS_PER_TILESET});
    }
}

// Only the fields that the file holds whole are checked; a field cut off by the
// end of the file is part of the entry's own problem. The slots are looked at
// as far as the bytes read go, however many the header declares.
void CheckEntry(const std::string& bytes, const FileLayout& layout, int tileset, uint64_t entryOffset,
                std::vector<TilesetFileProblem>& problems)
{
    const uint64_t held = std::min(layout.entrySize, layout.fileSize - entryOffset);
    if (held < layout.entrySize) {
        problems.push_back({TILESET_PROBLEM_ENTRY_CUT_SHORT, entryOffset, held, layout.entrySize, tileset});
    }
    if (held >= FIELD_SIZE && LacksNul(bytes, entryOffset)) {
        problems.push_back({TILESET_PROBLEM_NAME_WITHOUT_NUL, entryOffset, 0, 0, tileset});
    }
    const uint64_t wholeSlots = held < SLOTS_OFFSET ? 0 : (held - SLOTS_OFFSET) / FIELD_SIZE;
    const uint64_t firstSlot = entryOffset + SLOTS_OFFSET;
    for (uint64_t slot = 0; slot < wholeSlots && firstSlot + FIELD_SIZE * slot < bytes.size(); ++slot) {
        if (LacksNul(bytes, firstSlot + FIELD_SIZE * slot)) {
            problems.push_back({TILESET_PROBLEM_SLOT_WITHOUT_NUL, firstSlot + FIELD_SIZE * slot, 0, 0, tileset, slot});
        }
    }
}

// After the last entry: counted where the size is known, else whatever the bytes
// read hold past it, as a count of 0.
void CheckEnd(const std::string& bytes, const FileLayout& layout, std::vector<TilesetFileProblem>& problems)
{
    const uint64_t end = HEADER_SIZE + layout.entrySize * layout.declaredCount;
    if (layout.fileSize == ENDLESS) {
        if (bytes.size() > end) {
            problems.push_back({TILESET_PROBLEM_BYTES_AFTER_ENTRIES, end, 0});
        }
    } else if (layout.fileSize > end) {
        problems.push_back({TILESET_PROBLEM_BYTES_AFTER_ENTRIES, end, layout.fileSize - end});
    }
}

} // namespace

std::vector<TilesetFileProblem> TilesetFileCheck::Check(const std::string& bytes)
{
    return Check(bytes, bytes.size());
}

std::vector<TilesetFileProblem> TilesetFileCheck::Check(const std::string& bytes, std::optional<uint64_t> fileSize)
{
    std::vector<TilesetFileProblem> problems;
    if (bytes.empty()) {
        problems.push_back({TILESET_PROBLEM_EMPTY_FILE, 0});
        return problems;
    }
    if (bytes.size() < HEADER_SIZE) {
        problems.push_back({TILESET_PROBLEM_HEADER_CUT_SHORT, 0, bytes.size(), HEADER_SIZE});
        return problems;
    }
    const FileLayout layout = ReadLayout(bytes, fileSize.value_or(ENDLESS));
    CheckHeader(layout, problems);
    for (uint64_t i = 0; i < layout.declaredCount; ++i) {
        const uint64_t entryOffset = HEADER_SIZE + layout.entrySize * i;
        if (entryOffset >= layout.fileSize) {
            break;
        }
        CheckEntry(bytes, layout, static_cast<int>(i), entryOffset, problems);
    }
    CheckEnd(bytes, layout, problems);
    return problems;
}
