#include "tools/CodePage.h"

#include "tools/DumpNotation.h"

#include <algorithm>
#include <cstdint>

namespace {

const std::size_t REVERSE_SIZE = sizeof(CodePageTable::reverse) / sizeof(CodePageByte);
// Plain, the last character that stands for a byte.
const char32_t LAST_BYTE_CHARACTER = 0xFF;

static_assert((REVERSE_SIZE & (REVERSE_SIZE - 1)) == 0, "the search halves the table down to one entry");

const CodePageTable* Find(uint64_t number)
{
    const CodePageTable* const end = CODE_PAGE_TABLES + CODE_PAGE_TABLE_COUNT;
    const CodePageTable* const found =
        std::find_if(CODE_PAGE_TABLES, end, [number](const CodePageTable& page) { return page.number == number; });
    return found != end ? found : nullptr;
}

// Where the code page also holds the letter and the mark as one character,
// the two forms look the same: the pair is the one shown as escapes.
bool Composes(const CodePageTable& page, unsigned char letter, unsigned char mark)
{
    const uint16_t pair = static_cast<uint16_t>(letter << 8 | mark);
    return std::binary_search(page.compositions, page.compositions + page.compositionCount, pair);
}

// A mark of a class above 0 shows in canonical order only (marks in the
// other order look the same), one of a class (two sit in one place), and not
// where it and the letter are one character of the code page. Marks of class 0
// keep their order, but must not sit twice on a letter: asking their bytes to
// rise keeps each to once.
bool MarkFits(const CodePageTable& page, unsigned char mark, const CodePage::TextContext& context)
{
    const uint8_t order = page.orders[mark];
    if (order == 0) {
        return mark > context.lastMarkOfClass0;
    }
    return order > context.order && !(context.previous == BYTE_LETTER && Composes(page, context.letter, mark));
}

} // namespace

const CodePageTable* CodePage::Parse(std::string_view text, std::string& error)
{
    uint64_t number = 0;
    const CodePageTable* const page = DumpNotation::ParseDecimal(text, number) ? Find(number) : nullptr;
    if (page == nullptr) {
        error = "code page " + DumpNotation::Text(std::string(text)) + ": expected " + KnownNumbers() +
                " (the Windows ANSI code pages)";
    }
    return page;
}

std::string CodePage::KnownNumbers()
{
    std::string known;
    for (std::size_t k = 0; k < CODE_PAGE_TABLE_COUNT; ++k) {
        known += k == 0 ? "" : k + 1 == CODE_PAGE_TABLE_COUNT ? " or " : ", ";
        known += std::to_string(CODE_PAGE_TABLES[k].number);
    }
    return known;
}

std::string CodePage::NotHeld(const CodePageTable& page, char32_t character)
{
    return DumpNotation::CharacterShown(character) + " is not in code page " + std::to_string(page.number);
}

int CodePage::ByteOf(const CodePageTable& page, char32_t character)
{
    if (character < 0x80) {
        return static_cast<int>(character);
    }
    // A search of fixed steps without branches: the characters of a text
    // come in no order the processor could predict.
    const CodePageByte* first = page.reverse;
    for (std::size_t half = REVERSE_SIZE / 2; half > 0; half /= 2) {
        first += first[half - 1].character < character ? half : 0;
    }
    return first->byte != 0 && first->character == character ? first->byte : NO_BYTE;
}

int CodePage::ByteOfCharacter(const CodePageTable* page, char32_t character)
{
    if (page != nullptr) {
        return ByteOf(*page, character);
    }
    return character <= LAST_BYTE_CHARACTER ? static_cast<int>(character) : NO_BYTE;
}

std::string CodePage::NoByteFor(const CodePageTable* page, char32_t character)
{
    return page != nullptr ? NotHeld(*page, character)
                           : "the character " + DumpNotation::CharacterNumber(character) +
                                 ": expected U+0000 to U+00FF, each the byte of the same number";
}

bool CodePage::ShowsMark(const CodePageTable& page, unsigned char mark, TextContext& context)
{
    if (context.previous == BYTE_LETTER) {
        // Shows keeps only the letter: the first mark on it starts the marks' state.
        context.order = page.orders[context.letter];
        context.lastMarkOfClass0 = 0;
    }
    const bool onALetter = context.previous == BYTE_LETTER || context.previous == BYTE_MARK;
    if (!onALetter || !MarkFits(page, mark, context)) {
        context = TextContext();
        return false;
    }
    const uint8_t order = page.orders[mark];
    if (order == 0) {
        context.lastMarkOfClass0 = mark;
    } else {
        context.order = order;
    }
    context.previous = BYTE_MARK;
    return true;
}
