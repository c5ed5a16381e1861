#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8, in which the dumps with a code page are written and read back.
namespace Utf8 {

// Why bytes are not UTF-8.
enum Fault {
    NO_FAULT,
    // A continuation byte (0x80 to 0xBF) where a character starts, or 0xF8 to 0xFF.
    NOT_A_START,
    // The input ends, or a byte other than a continuation comes, before the character's last byte.
    CUT_SHORT,
    // A longer form of a character that has a shorter one.
    OVERLONG,
    // U+D800 to U+DFFF: halves of a pair in UTF-16, no characters.
    SURROGATE,
    // Above U+10FFFF, the last character.
    BEYOND_UNICODE,
};

struct Decoded {
    char32_t character = 0;
    // The bytes the character took, or those of the fault: at least 1, so
    // that a reader goes on after them and counts its columns.
    std::size_t length = 0;
    Fault fault = NO_FAULT;
};

// The character at the start of bytes, which must not be empty.
Decoded Decode(std::string_view bytes);
// character is at most U+10FFFF and no surrogate.
void Append(char32_t character, std::string& out);
// What the fault is, for a reader's message: "an overlong form".
const char* Describe(Fault fault);
// 3 where bytes start with the byte order mark U+FEFF, which editors on
// Windows may write at the start of a UTF-8 file; else 0.
std::size_t ByteOrderMarkLength(std::string_view bytes);

} // namespace Utf8
