#pragma once

#include "tools/CodePageTables.h"

#include <string>
#include <string_view>

// The Windows ANSI code pages that a table's texts can be shown in: 874 and
// 1250 to 1258, as the Unicode consortium publishes them (no "best fit"). The
// mapping is built in, so a dump is the same on every system and locale.
// The dump's lookups are inline, as it asks them once a byte.
namespace CodePage {

// U+FFFF, a noncharacter: no code page maps a byte to it.
constexpr char32_t NO_CHARACTER = 0xFFFF;
constexpr int NO_BYTE = -1;

// The code page that text names in decimal digits; nullptr and, in error,
// what is wrong with it and which code pages there are.
const CodePageTable* Parse(std::string_view text, std::string& error);
// "874, 1250, 1251, ... or 1258"
std::string KnownNumbers();
// For a reader's error: "'Ł' (U+0141) is not in code page 1252".
std::string NotHeld(const CodePageTable& page, char32_t character);

// The character byte stands for; NO_CHARACTER where the code page leaves the byte undefined.
inline char32_t CharacterOf(const CodePageTable& page, unsigned char byte)
{
    return byte < 0x80 ? byte : page.upperCharacters[byte - 0x80];
}

// The byte that stands for character; NO_BYTE where the code page does not hold it.
int ByteOf(const CodePageTable& page, char32_t character);

// The rules of the dumps that hold characters only (JSON, CSV): plain (page
// null), a byte stands for the character of the same number, U+0000 to
// U+00FF; in a code page, for its character there.
inline char32_t CharacterOfByte(const CodePageTable* page, unsigned char byte)
{
    return page != nullptr ? CharacterOf(*page, byte) : byte;
}
int ByteOfCharacter(const CodePageTable* page, char32_t character);
// Why a character stands for no byte, for a reader's error.
std::string NoByteFor(const CodePageTable* page, char32_t character);

// What the bytes before one in the same text leave for it: whether it can be
// a combining mark on the letter they end with, and in which order.
struct TextContext {
    // The kind of the byte before, written as a character: a mark can follow
    // a letter or a mark only. BYTE_HIDDEN at the start and after an escape.
    ByteKind previous = BYTE_HIDDEN;
    // The byte before, where it is a letter.
    unsigned char letter = 0;
    // After marks: the canonical class that the next mark of a class above 0
    // must exceed, and the last mark of class 0 (0 for none).
    uint8_t order = 0;
    unsigned char lastMarkOfClass0 = 0;
};

// Out of line: marks are few, and their rules are long.
bool ShowsMark(const CodePageTable& page, unsigned char mark, TextContext& context);

// Whether the dump writes byte as its character, not as \xNN: a visible
// character, or a combining mark on a letter written before it, where no
// other bytes of the code page would look the same (the letter and mark
// that it holds as one character, marks out of canonical order or of one
// class twice). So a diff of two dumps never hides a difference. The bytes of
// a text are asked in order, from a new context; each answer updates it.
inline bool Shows(const CodePageTable& page, unsigned char byte, TextContext& context)
{
    const ByteKind kind = page.kinds[byte];
    if (kind == BYTE_MARK) {
        return ShowsMark(page, byte, context);
    }
    context.previous = kind;
    context.letter = byte;
    return kind != BYTE_HIDDEN;
}

} // namespace CodePage
