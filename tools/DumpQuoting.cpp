#include "tools/DumpQuoting.h"

#include "tools/NumberText.h"

#include <algorithm>

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

using Append = void (*)(const char*, std::size_t, std::string&);

std::string Excerpt(std::string_view bytes, uint64_t length, Append append)
{
    const std::size_t shown = std::min(bytes.size(), DumpQuoting::EXCERPT_SIZE);
    std::string quoted;
    append(bytes.data(), shown, quoted);
    if (length > shown) {
        quoted += "... (" + std::to_string(length) + " bytes)";
    }
    return quoted;
}

} // namespace

std::string DumpQuoting::Text(const std::string& bytes)
{
    std::string quoted;
    AppendText(bytes.data(), bytes.size(), quoted);
    return quoted;
}

std::string DumpQuoting::Json(const std::string& bytes)
{
    std::string quoted;
    AppendJson(bytes.data(), bytes.size(), quoted);
    return quoted;
}

void DumpQuoting::AppendText(const char* bytes, std::size_t length, std::string& out)
{
    AppendQuoted(bytes, length, "\\x", out);
}

void DumpQuoting::AppendJson(const char* bytes, std::size_t length, std::string& out)
{
    AppendQuoted(bytes, length, "\\u00", out);
}

std::string DumpQuoting::TextExcerpt(std::string_view bytes, uint64_t length)
{
    return Excerpt(bytes, length, AppendText);
}

std::string DumpQuoting::JsonExcerpt(std::string_view bytes, uint64_t length)
{
    return Excerpt(bytes, length, AppendJson);
}

std::string DumpQuoting::TextExcerpt(std::string_view bytes)
{
    return TextExcerpt(bytes, bytes.size());
}
