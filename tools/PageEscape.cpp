#include "tools/PageEscape.h"

#include "tools/DumpNotation.h"
#include "tools/Utf8.h"

namespace {

const char* HtmlEntity(char c, bool inAttribute)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return inAttribute ? "&quot;" : nullptr;
    case '\'':
        return inAttribute ? "&#39;" : nullptr;
    default:
        return nullptr;
    }
}

void AppendHtml(std::string_view text, bool inAttribute, std::string& out)
{
    for (const char c : text) {
        const char* const entity = HtmlEntity(c, inAttribute);
        if (entity != nullptr) {
            out += entity;
        } else {
            out += c;
        }
    }
}

bool IsJsonEscaped(unsigned char byte)
{
    return byte < 0x20 || byte == '<' || byte == '>' || byte == '&';
}

} // namespace

void PageEscape::AppendText(std::string_view text, std::string& out)
{
    AppendHtml(text, false, out);
}

void PageEscape::AppendAttribute(std::string_view text, std::string& out)
{
    AppendHtml(text, true, out);
}

void PageEscape::AppendJson(std::string_view text, std::string& out)
{
    out += '"';
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (DumpNotation::IsBackslashed(byte)) {
            out += '\\';
            out += c;
        } else if (IsJsonEscaped(byte)) {
            out += "\\u00";
            out += DumpNotation::HexByte(byte);
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string PageEscape::Shown(std::string_view bytes)
{
    std::string shown;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const Utf8::Decoded decoded = Utf8::Decode(bytes.substr(at));
        if (decoded.fault != Utf8::NO_FAULT || decoded.character < 0x20 || decoded.character == 0x7F) {
            shown += "\\x" + DumpNotation::HexByte(static_cast<unsigned char>(bytes[at]));
            ++at;
        } else {
            shown += bytes.substr(at, decoded.length);
            at += decoded.length;
        }
    }
    return shown;
}
