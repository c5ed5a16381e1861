#pragma once

#include "tools/CodePageTables.h"

#include <string>
#include <string_view>

// The Windows ANSI code pages that a table's texts can be shown in: 874 and
// 1250 to 1258, as the Unicode consortium publishes them (no "best fit"). The
// mapping is built in, so a dump is the same on every system and locale.
// Lookups are inline: the dump and the readers ask once a byte.
namespace CodePage {

// U+FFFF, a noncharacter: no code page maps a byte to it.
constexpr char32_t NO_CHARACTER = 0xFFFF;
constexpr int NO_BYTE = -1;

// The code page that text names in decimal digits; nullptr and, in error,
// what is wrong with it and which code pages there are.
const CodePageTable* Parse(std::string_view text, std::string& error);

// The character byte stands for; NO_CHARACTER where the code page leaves the byte undefined.
inline char32_t CharacterOf(const CodePageTable& page, unsigned char byte)
{
    return byte < 0x80 ? byte : page.upperCharacters[byte - 0x80];
}

// The byte that stands for character; NO_BYTE where the code page does not hold it.
int ByteOf(const CodePageTable& page, char32_t character);

// What the bytes before one in the same text leave for it: whether it can be
// a combining mark on the letter they end with, and in which order.
struct TextContext {
    // BYTE_LETTER or BYTE_MARK after a letter and its marks, written as
    // characters; otherwise BYTE_HIDDEN.
    ByteKind run = BYTE_HIDDEN;
    unsigned char letter = 0;
    // The canonical class that the next mark of class above 0 must exceed.
    uint8_t order = 0;
    // The last mark of class 0 on the letter; 0 for none.
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
    context.run = kind == BYTE_LETTER ? BYTE_LETTER : BYTE_HIDDEN;
    context.letter = byte;
    context.order = page.orders[byte];
    context.lastMarkOfClass0 = 0;
    return kind != BYTE_HIDDEN;
}

} // namespace CodePage
