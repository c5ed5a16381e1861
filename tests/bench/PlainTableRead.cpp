#include "tests/bench/PlainTableRead.h"

#include "data/TilesetFileFormat.h"

#include <cstring>
#include <emmintrin.h>

#ifdef _WIN32
#include "app/Win32.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Format = TilesetFileFormat;

// With the processor's vector instructions, as the load looks at its fields:
// a loop over the bytes, which not every compiler turns into them, took as long
// as the rest of the read.
bool HoldsNul(const char* field)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(field)), zero);
    const __m128i high = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(field + 16)), zero);
    return _mm_movemask_epi8(_mm_or_si128(low, high)) != 0;
}

bool FillRecord(const char* entry, PlainTableRead::PlainRecord& record)
{
    bool sound = HoldsNul(entry);
    for (std::size_t k = 0; k < Format::FIELD_SIZE; ++k) {
        record.name[k] = static_cast<unsigned char>(entry[k]);
    }
    record.ambient = static_cast<uint8_t>(entry[Format::FIELD_SIZE]);
    const char* const slots = entry + Format::SLOTS_OFFSET;
    std::memcpy(record.slots, slots, sizeof record.slots);
    for (std::size_t slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        sound &= HoldsNul(slots + Format::FIELD_SIZE * slot);
    }
    return sound;
}

#ifdef _WIN32
bool ReadWhole(const std::string& path, PlainTableRead::PlainTable& table)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size{};
    DWORD got = 0;
    bool read = GetFileSizeEx(file, &size) != 0;
    if (read) {
        table.size = static_cast<std::size_t>(size.QuadPart);
        table.bytes.reset(new char[table.size]);
        read =
            ReadFile(file, table.bytes.get(), static_cast<DWORD>(table.size), &got, nullptr) != 0 && got == table.size;
    }
    CloseHandle(file);
    return read;
}
#else
bool ReadWhole(const std::string& path, PlainTableRead::PlainTable& table)
{
    const int file = open(path.c_str(), O_RDONLY);
    if (file < 0) {
        return false;
    }
    struct stat status {};
    bool read = fstat(file, &status) == 0;
    if (read) {
        table.size = static_cast<std::size_t>(status.st_size);
        table.bytes.reset(new char[table.size]);
        read = ::read(file, table.bytes.get(), table.size) == static_cast<ssize_t>(table.size);
    }
    close(file);
    return read;
}
#endif

} // namespace

PlainTableRead::PlainTable PlainTableRead::Read(const std::string& path)
{
    PlainTable table;
    if (!ReadWhole(path, table) || table.size < Format::HEADER_SIZE) {
        return {};
    }
    table.recordCount = static_cast<unsigned char>(table.bytes[0]);
    if (table.size < Format::HEADER_SIZE + Format::SAVED_ENTRY_SIZE * static_cast<std::size_t>(table.recordCount)) {
        return {};
    }
    table.records.reset(new PlainRecord[static_cast<std::size_t>(table.recordCount)]);
    bool sound = true;
    for (int i = 0; i < table.recordCount; ++i) {
        const char* const entry = table.bytes.get() + Format::HEADER_SIZE + Format::SAVED_ENTRY_SIZE * i;
        sound &= FillRecord(entry, table.records[i]);
    }
    table.sound = sound;
    return table;
}
