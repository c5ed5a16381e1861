#include "data/TilesetFileCheck.h"

#include "data/TilesetRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

const uint64_t HEADER_SIZE = 5;
const uint64_t FIELD_SIZE = NAME_FIELD_SIZE;
// Name and ambient number come before the slot fields.
const uint64_t SLOTS_OFFSET = FIELD_SIZE + 1;

struct FileLayout {
    uint64_t declaredCount;
    uint64_t slotCount;
    uint64_t entrySize;
};

FileLayout ReadLayout(const std::string& bytes)
{
    const auto byteAt = [&bytes](std::size_t k) { return uint64_t{static_cast<unsigned char>(bytes[k])}; };
    const uint64_t slotCount = byteAt(1) | byteAt(2) << 8 | byteAt(3) << 16 | byteAt(4) << 24;
    // 64 bits hold 255 entries of the largest slot count a header can declare.
    return {byteAt(0), slotCount, SLOTS_OFFSET + FIELD_SIZE * slotCount};
}

bool HasNul(const std::string& bytes, uint64_t fieldOffset)
{
    return std::memchr(bytes.data() + static_cast<std::size_t>(fieldOffset), '\0', FIELD_SIZE) != nullptr;
}

void CheckHeader(const std::string& bytes, const FileLayout& layout, std::vector<TilesetFileProblem>& problems)
{
    const uint64_t wholeEntries = std::min(layout.declaredCount, (bytes.size() - HEADER_SIZE) / layout.entrySize);
    if (wholeEntries < layout.declaredCount) {
        problems.emplace_back(TILESET_PROBLEM_MISSING_ENTRIES, 0, wholeEntries, layout.declaredCount);
    }
    if (layout.slotCount < SLOTS_PER_TILESET) {
        problems.emplace_back(TILESET_PROBLEM_FEWER_SLOTS, 1, layout.slotCount, SLOTS_PER_TILESET);
    } else if (layout.slotCount > SLOTS_PER_TILESET) {
        problems.emplace_back(TILESET_PROBLEM_TOO_MANY_SLOTS, 1, layout.slotCount, SLOTS_PER_TILESET);
    }
}

// Only the fields that the file holds whole are checked; a field cut off by the
// end of the file is part of the entry's own problem.
void CheckEntry(const std::string& bytes, const FileLayout& layout, int tileset, uint64_t entryOffset,
                std::vector<TilesetFileProblem>& problems)
{
    const uint64_t size = bytes.size();
    const uint64_t held = std::min(layout.entrySize, size - entryOffset);
    if (held < layout.entrySize) {
        problems.emplace_back(TILESET_PROBLEM_ENTRY_CUT_SHORT, entryOffset, held, layout.entrySize, tileset);
    }
    if (held >= FIELD_SIZE && !HasNul(bytes, entryOffset)) {
        problems.emplace_back(TILESET_PROBLEM_NAME_WITHOUT_NUL, entryOffset, 0, 0, tileset);
    }
    const uint64_t wholeSlots = held < SLOTS_OFFSET ? 0 : (held - SLOTS_OFFSET) / FIELD_SIZE;
    for (uint64_t slot = 0; slot < wholeSlots; ++slot) {
        const uint64_t fieldOffset = entryOffset + SLOTS_OFFSET + FIELD_SIZE * slot;
        if (!HasNul(bytes, fieldOffset)) {
            problems.emplace_back(TILESET_PROBLEM_SLOT_WITHOUT_NUL, fieldOffset, 0, 0, tileset, slot);
        }
    }
}

} // namespace

std::vector<TilesetFileProblem> TilesetFileCheck::Check(const std::string& bytes)
{
    std::vector<TilesetFileProblem> problems;
    if (bytes.empty()) {
        problems.emplace_back(TILESET_PROBLEM_EMPTY_FILE, 0);
        return problems;
    }
    if (bytes.size() < HEADER_SIZE) {
        problems.emplace_back(TILESET_PROBLEM_HEADER_CUT_SHORT, 0, bytes.size(), HEADER_SIZE);
        return problems;
    }
    const FileLayout layout = ReadLayout(bytes);
    CheckHeader(bytes, layout, problems);
    for (uint64_t i = 0; i < layout.declaredCount; ++i) {
        const uint64_t entryOffset = HEADER_SIZE + layout.entrySize * i;
        if (entryOffset >= bytes.size()) {
            break;
        }
        CheckEntry(bytes, layout, static_cast<int>(i), entryOffset, problems);
    }
    const uint64_t end = HEADER_SIZE + layout.entrySize * layout.declaredCount;
    if (bytes.size() > end) {
        problems.emplace_back(TILESET_PROBLEM_BYTES_AFTER_ENTRIES, end, bytes.size() - end);
    }
    return problems;
}
