#include "data/TilesetFileFormat.h"

#include <algorithm>
#include <cstring>

// Every build is for a processor with SSE2: 64-bit Intel and AMD processors
// have it, and the 32-bit build asks for it (-msse2; MSVC's 32-bit builds use
// it by default).
#if !defined(__SSE2__) && !defined(_M_X64) && !(defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#error "the field cleaner needs SSE2: build for a processor that has it (-msse2)"
#endif
#include <emmintrin.h>

namespace {

using Field = char[TilesetFileFormat::FIELD_SIZE];

__m128i HalfAt(const char* bytes)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Whether fields are as the save writes them, gathered field by field without
// a branch. Bit k of a field's mask is its byte k's being zero; the field is
// clean when those bits run unbroken from the first zero byte to the last
// byte: setting every bit below the lowest one then gives all ones, and the
// top one, the last byte's, is set.
class CleanFields {
public:
    void Add(__m128i low, __m128i high)
    {
        const __m128i zero = _mm_setzero_si128();
        const uint32_t zeros = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, zero))) |
                               static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, zero))) << 16;
        runs &= zeros | (zeros - 1);
        lastBytes &= zeros;
    }
    void Add(const Field& field) { Add(HalfAt(field), HalfAt(field + 16)); }
    bool AllClean() const { return runs == ~0u && (lastBytes & 0x80000000u) != 0; }

private:
    uint32_t runs = ~0u;
    uint32_t lastBytes = ~0u;
};

bool IsClean(const Field& field)
{
    CleanFields clean;
    clean.Add(field);
    return clean.AllClean();
}

// Checking every slot of a table this way takes less time than reading the
// table; cleaning each field took several times as long.
bool AllClean(std::size_t count, const Field* fields)
{
    CleanFields clean;
    for (std::size_t k = 0; k < count; ++k) {
        clean.Add(fields[k]);
    }
    return clean.AllClean();
}

} // namespace

TilesetFileFormat::Header TilesetFileFormat::DecodeHeader(const char (&bytes)[HEADER_SIZE])
{
    const auto byteAt = [&bytes](std::size_t k) { return uint32_t{static_cast<unsigned char>(bytes[k])}; };
    return {static_cast<int>(byteAt(0)), byteAt(1) | byteAt(2) << 8 | byteAt(3) << 16 | byteAt(4) << 24};
}

void TilesetFileFormat::EncodeHeader(const Header& header, char (&bytes)[HEADER_SIZE])
{
    bytes[0] = static_cast<char>(header.tilesetCount);
    for (std::size_t k = 1; k < HEADER_SIZE; ++k) {
        bytes[k] = static_cast<char>(header.slotsPerTileset >> 8 * (k - 1) & 0xFF);
    }
}

void TilesetFileFormat::WidenName(const char (&field)[FIELD_SIZE], char16_t (&name)[NAME_FIELD_SIZE])
{
    std::memset(name, 0, sizeof name);
    for (std::size_t k = 0; k < FIELD_SIZE && field[k] != '\0'; ++k) {
        name[k] = static_cast<unsigned char>(field[k]);
    }
}

void TilesetFileFormat::NarrowName(const char16_t (&name)[NAME_FIELD_SIZE], char (&field)[FIELD_SIZE])
{
    std::memset(field, 0, sizeof field);
    for (std::size_t k = 0; k < FIELD_SIZE && name[k] != 0; ++k) {
        field[k] = static_cast<char>(name[k] & 0xFF);
    }
}

std::size_t TilesetFileFormat::TextLength(const char (&field)[FIELD_SIZE])
{
    return static_cast<std::size_t>(std::find(field, field + FIELD_SIZE, '\0') - field);
}

void TilesetFileFormat::CleanField(char (&field)[FIELD_SIZE])
{
    if (!IsClean(field)) {
        field[FIELD_SIZE - 1] = '\0';
        const std::size_t length = TextLength(field);
        std::memset(field + length, 0, FIELD_SIZE - length);
    }
}

// Each field is looked at as it is copied, while it is in the processor's
// registers: a copy and a second pass took twice as long.
bool TilesetFileFormat::CopySlots(const char* bytes, std::size_t count, char (&slots)[SLOTS_PER_TILESET][FIELD_SIZE])
{
    const std::size_t whole = count / FIELD_SIZE;
    CleanFields clean;
    for (std::size_t k = 0; k < whole; ++k) {
        const __m128i low = HalfAt(bytes + FIELD_SIZE * k);
        const __m128i high = HalfAt(bytes + FIELD_SIZE * k + 16);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(slots[k]), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(slots[k] + 16), high);
        clean.Add(low, high);
    }
    const std::size_t rest = count - whole * FIELD_SIZE;
    // The slots' bytes as one run: a field past the last whole one may be none.
    char* const after = reinterpret_cast<char*>(&slots) + FIELD_SIZE * whole;
    std::memcpy(after, bytes + FIELD_SIZE * whole, rest);
    std::memset(after + rest, 0, sizeof slots - count);
    if (rest != 0) {
        CleanField(slots[whole]);
    }
    if (!clean.AllClean()) {
        for (std::size_t slot = 0; slot < whole; ++slot) {
            CleanField(slots[slot]);
        }
    }
    return clean.AllClean();
}

void TilesetFileFormat::CleanSlots(int count, char (&slots)[SLOTS_PER_TILESET][FIELD_SIZE])
{
    if (AllClean(static_cast<std::size_t>(count), slots)) {
        return;
    }
    for (int slot = 0; slot < count; ++slot) {
        CleanField(slots[slot]);
    }
}
