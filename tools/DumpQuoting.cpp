#include "tools/DumpQuoting.h"

#include "tools/CodePage.h"
#include "tools/NumberText.h"
#include "tools/Utf8.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsPrintableAscii(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

void AppendQuoted(const char* bytes, std::size_t length, const char* byteEscape, std::string& out)
{
    out += '"';
    for (std::size_t k = 0; k < length; ++k) {
        const char c = bytes[k];
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (IsPrintableAscii(byte)) {
            out += c;
        } else {
            out += byteEscape;
            out += NumberText::HexByte(byte);
        }
    }
    out += '"';
}

void AppendByteEscape(unsigned char byte, std::string& out)
{
    out += "\\x";
    out += NumberText::HexByte(byte);
}

// Every character of a code page is below U+FFFF. A byte without one has no
// JSON form: the dump refuses such a table before it writes anything.
void AppendCharacterEscape(char32_t character, std::string& out)
{
    if (character == CodePage::NO_CHARACTER) {
        std::abort();
    }
    out += "\\u";
    out += NumberText::HexByte(static_cast<unsigned char>(character >> 8));
    out += NumberText::HexByte(static_cast<unsigned char>(character & 0xFF));
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
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
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
    const std::size_t shown = std::min(bytes.size(), DumpQuoting::EXCERPT_SIZE);
    std::string quoted;
    append(bytes.data(), shown, page, quoted);
    if (length > shown) {
        quoted += "... (" + std::to_string(length) + " bytes)";
    }
    return quoted;
}

} // namespace

std::string DumpQuoting::Text(const std::string& bytes)
{
    std::string quoted;
    AppendText(bytes.data(), bytes.size(), nullptr, quoted);
    return quoted;
}

std::string DumpQuoting::Json(const std::string& bytes)
{
    std::string quoted;
    AppendJson(bytes.data(), bytes.size(), nullptr, quoted);
    return quoted;
}

void DumpQuoting::AppendText(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out)
{
    if (page == nullptr) {
        AppendQuoted(bytes, length, "\\x", out);
    } else {
        AppendInCodePage(bytes, length, *page, AppendByteEscape, out);
    }
}

// Where a character is hidden, its escape still says which it is: a diff of
// two dumps shows the difference, and the reader takes it back to its byte.
void DumpQuoting::AppendJson(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out)
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

std::string DumpQuoting::TextExcerpt(std::string_view bytes, uint64_t length)
{
    return Excerpt(bytes, length, AppendText, nullptr);
}

std::string DumpQuoting::JsonExcerpt(std::string_view bytes, uint64_t length)
{
    return Excerpt(bytes, length, AppendJson, nullptr);
}

std::string DumpQuoting::JsonExcerpt(std::string_view bytes, uint64_t length, const CodePageTable* page)
{
    return Excerpt(bytes, length, AppendJson, page);
}

std::string DumpQuoting::TextExcerpt(std::string_view bytes)
{
    return TextExcerpt(bytes, bytes.size());
}
