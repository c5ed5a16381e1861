#include "tools/DumpNotation.h"

#include "tools/CodePage.h"
#include "tools/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// As many characters as an error quotes of a number.
const std::size_t SHOWN_DIGITS = 32;

void AppendBackslashed(char c, std::string& out)
{
    out += '\\';
    out += c;
}

void AppendQuoted(const char* bytes, std::size_t length, const char* byteEscape, std::string& out)
{
    out += '"';
    for (std::size_t k = 0; k < length; ++k) {
        const char c = bytes[k];
        const unsigned char byte = static_cast<unsigned char>(c);
        if (DumpNotation::IsBackslashed(byte)) {
            AppendBackslashed(c, out);
        } else if (DumpNotation::IsPrintableAscii(byte)) {
            out += c;
        } else {
            out += byteEscape;
            out += DumpNotation::HexByte(byte);
        }
    }
    out += '"';
}

void AppendByteEscape(unsigned char byte, std::string& out)
{
    out += "\\x";
    out += DumpNotation::HexByte(byte);
}

// Every character of a code page is below U+FFFF. A byte without one has no
// JSON form: the dump refuses such a table before it writes anything.
void AppendCharacterEscape(char32_t character, std::string& out)
{
    if (character == CodePage::NO_CHARACTER) {
        std::abort();
    }
    out += "\\u";
    out += DumpNotation::HexByte(static_cast<unsigned char>(character >> 8));
    out += DumpNotation::HexByte(static_cast<unsigned char>(character & 0xFF));
}

// The bytes a reader could not see or tell apart are escaped by escapeHidden.
template <typename EscapeHidden>
void AppendInCodePage(const char* bytes, std::size_t length, const CodePageTable& page,
                      const EscapeHidden& escapeHidden, std::string& out)
{
    out += '"';
    CodePage::TextContext context;
    for (std::size_t k = 0; k < length; ++k) {
        const char c = bytes[k];
        const unsigned char byte = static_cast<unsigned char>(c);
        if (!CodePage::Shows(page, byte, context)) {
            escapeHidden(byte, out);
        } else if (DumpNotation::IsBackslashed(byte)) {
            AppendBackslashed(c, out);
        } else if (byte < 0x80) {
            out += c;
        } else {
            Utf8::Append(CodePage::CharacterOf(page, byte), out);
        }
    }
    out += '"';
}

using Append = void (*)(const char*, std::size_t, const CodePageTable*, std::string&);

std::string Excerpt(std::string_view bytes, uint64_t length, Append append, const CodePageTable* page)
{
    const std::size_t shown = std::min(bytes.size(), DumpNotation::EXCERPT_SIZE);
    std::string quoted;
    append(bytes.data(), shown, page, quoted);
    if (length > shown) {
        quoted += "... (" + std::to_string(length) + " bytes)";
    }
    return quoted;
}

// The code pages' own verdicts: what none of them writes as a letter or a
// sign needs Unicode's character data to judge, which the tool does not carry.
bool IsVisibleInAnyCodePage(char32_t character)
{
    for (std::size_t k = 0; k < CODE_PAGE_TABLE_COUNT; ++k) {
        const CodePageTable& page = CODE_PAGE_TABLES[k];
        const int byte = CodePage::ByteOf(page, character);
        if (byte != CodePage::NO_BYTE && (page.kinds[byte] == BYTE_SIGN || page.kinds[byte] == BYTE_LETTER)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string DumpNotation::HexByte(unsigned char byte)
{
    const char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

int DumpNotation::HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string DumpNotation::Text(const std::string& bytes)
{
    std::string quoted;
    AppendText(bytes.data(), bytes.size(), nullptr, quoted);
    return quoted;
}

std::string DumpNotation::Json(const std::string& bytes)
{
    std::string quoted;
    AppendJson(bytes.data(), bytes.size(), nullptr, quoted);
    return quoted;
}

std::string DumpNotation::Unquoted(const std::string& bytes)
{
    std::string shown;
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (IsPrintableAscii(byte)) {
            shown += c;
        } else {
            AppendByteEscape(byte, shown);
        }
    }
    return shown;
}

void DumpNotation::AppendText(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out)
{
    if (page == nullptr) {
        AppendQuoted(bytes, length, "\\x", out);
    } else {
        AppendInCodePage(bytes, length, *page, AppendByteEscape, out);
    }
}

// Where a character is hidden, its escape still says which it is: a diff of
// two dumps shows the difference, and the reader takes it back to its byte.
void DumpNotation::AppendJson(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out)
{
    if (page == nullptr) {
        AppendQuoted(bytes, length, "\\u00", out);
        return;
    }
    const auto escapeCharacter = [page](unsigned char byte, std::string& escaped) {
        AppendCharacterEscape(CodePage::CharacterOf(*page, byte), escaped);
    };
    AppendInCodePage(bytes, length, *page, escapeCharacter, out);
}

std::string DumpNotation::TextExcerpt(std::string_view bytes, uint64_t length)
{
    return Excerpt(bytes, length, AppendText, nullptr);
}

std::string DumpNotation::TextExcerpt(std::string_view bytes)
{
    return TextExcerpt(bytes, bytes.size());
}

std::string DumpNotation::JsonExcerpt(std::string_view bytes, uint64_t length)
{
    return Excerpt(bytes, length, AppendJson, nullptr);
}

std::string DumpNotation::JsonExcerpt(std::string_view bytes, uint64_t length, const CodePageTable* page)
{
    return Excerpt(bytes, length, AppendJson, page);
}

std::string DumpNotation::CharacterNumber(char32_t character)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

std::string DumpNotation::CharacterShown(char32_t character)
{
    if (!IsVisibleInAnyCodePage(character)) {
        return CharacterNumber(character);
    }
    std::string shown = "'";
    Utf8::Append(character, shown);
    return shown + "' (" + CharacterNumber(character) + ")";
}

bool DumpNotation::ParseDecimal(std::string_view digits, uint64_t& value)
{
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const uint64_t largest = std::numeric_limits<uint64_t>::max();
    value = 0;
    for (const char digit : digits) {
        const uint64_t d = static_cast<uint64_t>(digit - '0');
        value = value > (largest - d) / 10 ? largest : value * 10 + d;
    }
    return true;
}

std::string DumpNotation::NumberShown(std::string_view written)
{
    if (written.size() <= SHOWN_DIGITS) {
        return std::string(written);
    }
    return std::string(written.substr(0, SHOWN_DIGITS)) + "... (" + std::to_string(written.size()) + " characters)";
}
