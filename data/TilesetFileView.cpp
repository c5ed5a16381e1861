#include "data/TilesetFileView.h"

#include <algorithm>
#include <limits>

namespace {

using Format = TilesetFileFormat;

// A file that goes on without a known end holds every entry its header declares.
const uint64_t ENDLESS = std::numeric_limits<uint64_t>::max();

} // namespace

uint8_t TilesetEntryView::Ambient() const
{
    return HoldsAmbient() ? static_cast<uint8_t>(bytes[Format::FIELD_SIZE]) : 0;
}

std::size_t TilesetEntryView::SlotBytes() const
{
    return read > Format::SLOTS_OFFSET ? read - Format::SLOTS_OFFSET : 0;
}

TilesetFileView::TilesetFileView(const std::string& bytes, std::optional<uint64_t> fileSize)
    : bytes(bytes), fileSize(fileSize)
{
    if (HoldsHeader()) {
        char headerBytes[Format::HEADER_SIZE];
        bytes.copy(headerBytes, sizeof headerBytes);
        header = Format::DecodeHeader(headerBytes);
    } else {
        header.tilesetCount = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
    }
    entrySize = Format::EntrySize(header.slotsPerTileset);
}

int TilesetFileView::EntryCount() const
{
    if (!HoldsHeader()) {
        return 0;
    }
    const uint64_t size = fileSize.value_or(ENDLESS);
    const uint64_t started = size <= Format::HEADER_SIZE ? 0 : (size - Format::HEADER_SIZE - 1) / entrySize + 1;
    return static_cast<int>(std::min<uint64_t>(started, static_cast<uint64_t>(header.tilesetCount)));
}

uint64_t TilesetFileView::WholeEntries() const
{
    const uint64_t size = fileSize.value_or(ENDLESS);
    const uint64_t whole = size < Format::HEADER_SIZE ? 0 : (size - Format::HEADER_SIZE) / entrySize;
    return std::min<uint64_t>(whole, static_cast<uint64_t>(header.tilesetCount));
}

TilesetEntryView TilesetFileView::Entry(int i) const
{
    const uint64_t offset = Format::HEADER_SIZE + entrySize * static_cast<uint64_t>(i);
    const uint64_t held = std::min(entrySize, fileSize.value_or(ENDLESS) - offset);
    const std::size_t start = static_cast<std::size_t>(std::min<uint64_t>(offset, bytes.size()));
    const std::size_t read = static_cast<std::size_t>(std::min<uint64_t>(held, bytes.size() - start));
    return {i, offset, held, bytes.data() + start, read};
}

uint64_t TilesetFileView::EntriesEnd() const
{
    return Format::HEADER_SIZE + entrySize * static_cast<uint64_t>(header.tilesetCount);
}
