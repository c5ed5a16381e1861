#include "tools/Utf8.h"

#include <cstdint>
#include <cstdlib>

namespace {

const char32_t LAST_CHARACTER = 0x10FFFF;
const std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool IsSurrogate(char32_t character)
{
    return character >= 0xD800 && character <= 0xDFFF;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// 0 for a byte that starts no character.
std::size_t LengthFromStart(unsigned char start)
{
    return start < 0x80 ? 1 : start < 0xC0 ? 0 : start < 0xE0 ? 2 : start < 0xF0 ? 3 : start < 0xF8 ? 4 : 0;
}

// The smallest character of each length: a longer form of a smaller one is not UTF-8.
char32_t SmallestOfLength(std::size_t length)
{
    return length == 2 ? 0x80 : length == 3 ? 0x800 : length == 4 ? 0x10000 : 0;
}

Utf8::Fault FaultOf(char32_t character, std::size_t length)
{
    if (character < SmallestOfLength(length)) {
        return Utf8::OVERLONG;
    }
    if (IsSurrogate(character)) {
        return Utf8::SURROGATE;
    }
    return character > LAST_CHARACTER ? Utf8::BEYOND_UNICODE : Utf8::NO_FAULT;
}

} // namespace

Utf8::Decoded Utf8::Decode(std::string_view bytes)
{
    if (bytes.empty()) {
        std::abort();
    }
    const unsigned char start = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = LengthFromStart(start);
    if (length == 0) {
        return {start, 1, NOT_A_START};
    }
    // The bits the start byte keeps for the character: 7, 5, 4 or 3.
    char32_t character = length == 1 ? start : start & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (k == bytes.size() || !IsContinuation(static_cast<unsigned char>(bytes[k]))) {
            return {character, k, CUT_SHORT};
        }
        character = (character << 6) | (static_cast<unsigned char>(bytes[k]) & 0x3Fu);
    }
    return {character, length, FaultOf(character, length)};
}

void Utf8::Append(char32_t character, std::string& out)
{
    if (character > LAST_CHARACTER || IsSurrogate(character)) {
        std::abort();
    }
    if (character < 0x80) {
        out += static_cast<char>(character);
        return;
    }
    const std::size_t length = character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
    // The start byte's marker: as many ones as bytes, then a zero.
    const unsigned marker = (0xFF00u >> length) & 0xFFu;
    out += static_cast<char>(marker | (character >> (6 * (length - 1))));
    for (std::size_t k = length - 1; k > 0; --k) {
        out += static_cast<char>(0x80u | ((character >> (6 * (k - 1))) & 0x3Fu));
    }
}

std::size_t Utf8::ByteOrderMarkLength(std::string_view bytes)
{
    return bytes.compare(0, BYTE_ORDER_MARK.size(), BYTE_ORDER_MARK) == 0 ? BYTE_ORDER_MARK.size() : 0;
}

const char* Utf8::Describe(Fault fault)
{
    switch (fault) {
    case NO_FAULT:
        return "a character";
    case NOT_A_START:
        return "a byte that starts no UTF-8 character";
    case CUT_SHORT:
        return "a UTF-8 character cut short";
    case OVERLONG:
        return "an overlong UTF-8 form";
    case SURROGATE:
        return "a surrogate (U+D800 to U+DFFF) in UTF-8, which is no character";
    case BEYOND_UNICODE:
        return "a UTF-8 form beyond U+10FFFF, the last character";
    }
    std::abort();
}
