#include "data/FileSnapshot.h"

#include "data/FileKind.h"
#include "data/TilesetFileFormat.h"
#include "data/WholeFile.h"

#include <utility>

bool FileSnapshot::operator==(const FileSnapshot& other) const
{
    return exists == other.exists && readable == other.readable && held == other.held && bytes == other.bytes;
}

FileSnapshot FileSnapshots::Of(std::string bytes)
{
    return {true, true, false, std::move(bytes)};
}

FileSnapshot FileSnapshots::Missing()
{
    return {false, true, false, {}};
}

FileSnapshot FileSnapshots::Read(const std::string& path)
{
    const FileKind kind = KindOfFile(path);
    if (kind == FILE_KIND_MISSING) {
        return Missing();
    }
    if (kind == FILE_KIND_PLAIN && IsHeldByAnotherProgram(path)) {
        return {true, false, true, {}};
    }
    std::string bytes;
    if (kind != FILE_KIND_PLAIN || !WholeFile::Read(path, TilesetFileFormat::LARGEST_FILE_SIZE, bytes).read) {
        return {true, false, false, {}};
    }
    return Of(bytes);
}

DiskChange FileSnapshots::Compare(const FileSnapshot& remembered, const FileSnapshot& now)
{
    if (now.held) {
        return DISK_HELD;
    }
    if (remembered == now) {
        return DISK_UNCHANGED;
    }
    if (!remembered.exists) {
        return DISK_CREATED;
    }
    return now.exists ? DISK_CHANGED : DISK_DELETED;
}
