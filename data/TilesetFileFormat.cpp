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

// Set in each byte lane where the field is not as the save writes it: a zero
// byte followed by another, or a last byte that is not zero. The lower lanes
// cover bytes 0 to 16, the upper ones bytes 15 to 31.
__m128i Faults(const Field& field)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i lastByte = _mm_set_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const auto zeroAt = [&field, zero](std::size_t offset) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(field + offset)), zero);
    };
    const __m128i lowFaults = _mm_andnot_si128(zeroAt(1), zeroAt(0));
    const __m128i highFaults = _mm_andnot_si128(zeroAt(16), _mm_or_si128(zeroAt(15), lastByte));
    return _mm_or_si128(lowFaults, highFaults);
}

bool NoFaults(__m128i faults)
{
    return _mm_movemask_epi8(faults) == 0;
}

bool IsClean(const Field& field)
{
    return NoFaults(Faults(field));
}

// Checking every slot of a table this way, without a branch per field, takes
// less time than reading the table; cleaning each field took several times as long.
bool AreClean(int count, const Field* fields)
{
    __m128i faults = _mm_setzero_si128();
    for (int k = 0; k < count; ++k) {
        faults = _mm_or_si128(faults, Faults(fields[k]));
    }
    return NoFaults(faults);
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

void TilesetFileFormat::CleanSlots(int count, char (&slots)[SLOTS_PER_TILESET][FIELD_SIZE])
{
    if (AreClean(count, slots)) {
        return;
    }
    for (int slot = 0; slot < count; ++slot) {
        CleanField(slots[slot]);
    }
}
