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
    return records[static_cast<size_t>(i)];
}

const TilesetRecord& TilesetTable::RecordAt(int i) const
{
    if (i < 0 || i >= RecordCount()) {
        std::abort();
    }
    return records[static_cast<size_t>(i)];
}

void TilesetTable::SetRecordCount(int n)
{
    if (n < 0 || n > MAX_TILESET_COUNT) {
        std::abort();
    }
    records.resize(static_cast<size_t>(n));
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
