#include "data/TilesetTable.h"

#include <cstdlib>
#include <utility>

int TilesetTable::RecordCount() const
{
    return static_cast<int>(records.size());
}

TilesetRecord& TilesetTable::RecordAt(int i)
{
    if (i < 0 || i >= RecordCount()) {
        std::abort();
    }
    return records[static_cast<size_t>(i)].record;
}

const TilesetRecord& TilesetTable::RecordAt(int i) const
{
    if (i < 0 || i >= RecordCount()) {
        std::abort();
    }
    return records[static_cast<size_t>(i)].record;
}

void TilesetTable::SetRecordCount(int n)
{
    if (n < 0 || n > MAX_TILESET_COUNT) {
        std::abort();
    }
    const std::size_t kept = records.size();
    records.resize(static_cast<size_t>(n));
    for (std::size_t k = kept; k < records.size(); ++k) {
        records[k].record = TilesetRecord{};
    }
}

void TilesetTable::ReserveRecords(int n)
{
    if (n < 0 || n > MAX_TILESET_COUNT) {
        std::abort();
    }
    records.reserve(static_cast<size_t>(n));
}

TilesetRecord& TilesetTable::AppendUnfilledRecord()
{
    if (RecordCount() == MAX_TILESET_COUNT) {
        std::abort();
    }
    return records.emplace_back().record;
}

void TilesetTable::MarkLoadFailed()
{
    loadFailed = true;
}

bool TilesetTable::LoadFailed() const
{
    return loadFailed;
}

void TilesetTable::RememberFile(FileSnapshot snapshot)
{
    rememberedFile = std::move(snapshot);
}

const std::optional<FileSnapshot>& TilesetTable::RememberedFile() const
{
    return rememberedFile;
}
