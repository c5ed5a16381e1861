#include "tools/DumpLineReader.h"

#include "tools/CodePage.h"
#include "tools/DumpNotation.h"
#include "tools/Utf8.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// "bytes 0xE2 0x82: a UTF-8 character cut short; ..."
std::string NotUtf8(std::string_view bytes, Utf8::Fault fault)
{
    std::string named = bytes.size() == 1 ? "byte" : "bytes";
    for (const char byte : bytes) {
        named += " 0x" + DumpNotation::HexByte(static_cast<unsigned char>(byte));
    }
    return named + ": " + Utf8::Describe(fault) + "; with --code-page, a text is read as UTF-8";
}

} // namespace

DumpLineReader::DumpLineReader(std::string_view text, int line, const CodePageTable* page, InputErrorList& errors)
    : text(text), line(line), page(page), errors(errors)
{
}

void DumpLineReader::SkipByteOrderMark()
{
    at = Utf8::ByteOrderMarkLength(text);
}

bool DumpLineReader::AtEnd()
{
    SkipBlanks();
    return at == text.size();
}

InputPlace DumpLineReader::Here() const
{
    return {line, static_cast<int>(at) + 1};
}

std::string_view DumpLineReader::Word(char stop)
{
    SkipBlanks();
    const std::size_t start = at;
    while (at < text.size() && !IsBlank(text[at]) && text[at] != stop) {
        ++at;
    }
    return text.substr(start, at - start);
}

bool DumpLineReader::Number(const char* what, WrittenNumber& number, InputPlace& place, char stop)
{
    SkipBlanks();
    place = Here();
    number.text = Word(stop);
    return DumpNotation::ParseDecimal(number.text, number.value) ||
           Fail(place, [&] { return std::string("expected ") + what + " (a number), found " + Found(number.text); });
}

bool DumpLineReader::Quoted(InputText& bytes, InputPlace& place)
{
    SkipBlanks();
    place = Here();
    if (at == text.size() || text[at] != '"') {
        const std::string_view found = Word();
        return Fail(place, [found] { return "expected a text in quotes, found " + Found(found); });
    }
    ++at;
    bytes.Clear();
    while (at < text.size() && text[at] != '"') {
        // Most of a text stands for itself: it is taken a run at a time.
        const std::size_t start = at;
        while (at < text.size() && DumpNotation::StandsForItself(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
        bytes.Add(text.data() + start, at - start);
        if (at < text.size() && text[at] != '"' && !QuotedByte(bytes)) {
            return false;
        }
    }
    if (at == text.size()) {
        return Fail(place, [] { return "the text has no closing quote"; });
    }
    ++at;
    return true;
}

bool DumpLineReader::Expect(char c, const char* what)
{
    SkipBlanks();
    if (at == text.size() || text[at] != c) {
        const InputPlace place = Here();
        const std::string_view found = Word();
        return Fail(place, [what, found] { return std::string("expected ") + what + ", found " + Found(found); });
    }
    ++at;
    return true;
}

bool DumpLineReader::End()
{
    SkipBlanks();
    if (at != text.size()) {
        return Fail(Here(), [this] { return "expected the end of the line, found " + Found(text.substr(at)); });
    }
    return true;
}

std::string DumpLineReader::Found(std::string_view word)
{
    return word.empty() ? "nothing" : DumpNotation::TextExcerpt(word);
}

void DumpLineReader::SkipBlanks()
{
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
}

bool DumpLineReader::QuotedByte(InputText& bytes)
{
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x80 && page != nullptr) {
        QuotedCharacter(bytes);
        return true;
    }
    if (!DumpNotation::IsPrintableAscii(byte)) {
        const std::string hex = DumpNotation::HexByte(byte);
        return Fail(Here(), [&hex] {
            return "byte 0x" + hex + " in a text: expected printable ASCII, other bytes as \\x" + hex;
        });
    }
    if (byte != '\\') {
        bytes.Add(text[at++]);
        return true;
    }
    const InputPlace escapeAt = Here();
    const char kind = at + 1 < text.size() ? text[at + 1] : '\0';
    if (DumpNotation::IsBackslashed(static_cast<unsigned char>(kind))) {
        bytes.Add(kind);
        at += 2;
        return true;
    }
    const int high = kind == 'x' && at + 2 < text.size() ? DumpNotation::HexDigitValue(text[at + 2]) : -1;
    const int low = high >= 0 && at + 3 < text.size() ? DumpNotation::HexDigitValue(text[at + 3]) : -1;
    if (low < 0) {
        // The escape as far as it goes: its letter and the hexadecimal digits after \x.
        const std::size_t length = at + 1 == text.size() ? 1 : high < 0 ? 2 : 3;
        return Fail(escapeAt, [this, length] {
            return "bad escape " + DumpNotation::TextExcerpt(text.substr(at, length)) +
                   ": expected \\xNN (two hexadecimal digits), \\\" or \\\\";
        });
    }
    bytes.Add(static_cast<char>(high * 16 + low));
    at += 4;
    return true;
}

// A character in UTF-8, taken as its byte in the code page. A fault, or a
// character that the code page does not hold, is told, stands for one
// byte, and the text is read on after it.
void DumpLineReader::QuotedCharacter(InputText& bytes)
{
    const InputPlace place = Here();
    const Utf8::Decoded decoded = Utf8::Decode(text.substr(at));
    const bool utf8 = decoded.fault == Utf8::NO_FAULT;
    const int byte = utf8 ? CodePage::ByteOf(*page, decoded.character) : CodePage::NO_BYTE;
    if (byte != CodePage::NO_BYTE) {
        bytes.Add(static_cast<char>(byte));
    } else if (!utf8) {
        errors.Add(place, [&] { return NotUtf8(text.substr(at, decoded.length), decoded.fault); });
        bytes.Add('?');
    } else {
        errors.Add(place, [this, &decoded] { return CodePage::NotHeld(*page, decoded.character); });
        bytes.Add('?');
    }
    at += decoded.length;
}
