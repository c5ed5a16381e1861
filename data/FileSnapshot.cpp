#include "data/FileSnapshot.h"

#include "data/FileKind.h"
#include "data/WholeFile.h"

namespace {

const uint64_t FNV_OFFSET_BASIS = 14695981039346656037ull;
const uint64_t FNV_PRIME = 1099511628211ull;

uint64_t Fnv1a(const std::string& bytes)
{
    uint64_t hash = FNV_OFFSET_BASIS;
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * FNV_PRIME;
    }
    return hash;
}

} // namespace

bool FileSnapshot::operator==(const FileSnapshot& other) const
{
    return exists == other.exists && readable == other.readable && held == other.held && size == other.size &&
           hash == other.hash;
}

FileSnapshot FileSnapshots::Of(const std::string& bytes)
{
    return {true, true, false, bytes.size(), Fnv1a(bytes)};
}

FileSnapshot FileSnapshots::Missing()
{
    return {false, true, false, 0, 0};
}

FileSnapshot FileSnapshots::Read(const std::string& path)
{
    const FileKind kind = KindOfFile(path);
    if (kind == FILE_KIND_MISSING) {
        return Missing();
    }
    if (kind == FILE_KIND_PLAIN && IsHeldByAnotherProgram(path)) {
        return {true, false, true, 0, 0};
    }
    std::string bytes;
    std::string reason;
    if (kind != FILE_KIND_PLAIN || !WholeFile::Read(path, bytes, reason)) {
        return {true, false, false, 0, 0};
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
