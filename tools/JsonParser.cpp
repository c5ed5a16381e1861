#include "tools/JsonParser.h"

#include "tools/CodePage.h"
#include "tools/DumpNotation.h"
#include "tools/TableBuilder.h"
#include "tools/Utf8.h"

#include <cstdint>

namespace {

const char32_t FIRST_HIGH_SURROGATE = 0xD800;
const char32_t FIRST_LOW_SURROGATE = 0xDC00;
const char32_t LAST_SURROGATE = 0xDFFF;
// Stands for a lone surrogate, which is told where it is read: no character.
const char32_t TOLD_SURROGATE = 0xFFFFFFFF;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHighSurrogate(char32_t unit)
{
    return unit >= FIRST_HIGH_SURROGATE && unit < FIRST_LOW_SURROGATE;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= FIRST_LOW_SURROGATE && unit <= LAST_SURROGATE;
}

// The bytes that stand for themselves in a string, looked up by byte: the
// test of each character of a string took most of the parse.
struct PlainBytes {
    constexpr PlainBytes() : plain()
    {
        for (int c = 0; c < 256; ++c) {
            plain[c] = DumpNotation::StandsForItself(static_cast<unsigned char>(c));
        }
    }
    bool plain[256];
};

constexpr PlainBytes PLAIN_BYTES;

} // namespace

// RFC 8259 lets a parser ignore a byte order mark, which text editors on
// Windows may write.
JsonParser::JsonParser(const std::string& input, const CodePageTable* page, TableBuilder& builder)
    : input(input), page(page), builder(builder), at(Utf8::ByteOrderMarkLength(input))
{
}

JsonKind JsonParser::Next()
{
    if (failed) {
        return JSON_NO_VALUE;
    }
    if (at != announcedAt) {
        SkipWhitespace();
        announced = KindAt();
        announcedAt = at;
    }
    return announced;
}

JsonKind JsonParser::KindAt() const
{
    const char c = at < input.size() ? input[at] : '\0';
    switch (c) {
    case '{':
        return JSON_OBJECT;
    case '[':
        return JSON_ARRAY;
    case '"':
        return JSON_STRING;
    case 't':
        return input.compare(at, 4, "true") == 0 ? JSON_TRUE : JSON_NO_VALUE;
    case 'f':
        return input.compare(at, 5, "false") == 0 ? JSON_FALSE : JSON_NO_VALUE;
    case 'n':
        return input.compare(at, 4, "null") == 0 ? JSON_NULL : JSON_NO_VALUE;
    default:
        return c == '-' || IsDigit(c) ? JSON_NUMBER : JSON_NO_VALUE;
    }
}

InputPlace JsonParser::Here() const
{
    return {line, static_cast<int>(at - lineStart) + 1, stringPath};
}

bool JsonParser::EnterObject()
{
    return Enter();
}

bool JsonParser::NextMember(InputText& key, InputPlace& keyAt)
{
    if (!NextIn('}')) {
        return false;
    }
    SkipWhitespace();
    keyAt = Here();
    if (at == input.size() || input[at] != '"') {
        return Fail("expected a key in quotes, found " + Found());
    }
    if (!String(key)) {
        return false;
    }
    SkipWhitespace();
    if (at == input.size() || input[at] != ':') {
        return Fail("expected \":\" after the key, found " + Found());
    }
    ++at;
    return true;
}

bool JsonParser::EnterArray()
{
    return Enter();
}

bool JsonParser::NextItem()
{
    return NextIn(']');
}

bool JsonParser::String(InputText& text, const JsonPath* path)
{
    stringPath = path;
    const bool read = ReadString(text);
    stringPath = nullptr;
    return read;
}

bool JsonParser::ReadString(InputText& text)
{
    const InputPlace start = Here();
    ++at;
    text.Clear();
    while (at < input.size() && input[at] != '"') {
        // Runs of plain characters, most of a dump, are taken whole.
        const std::size_t plain = PlainRun();
        if (plain != 0) {
            text.Add(input.data() + at, plain);
            at += plain;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(input[at]);
        const InputPlace place = Here();
        char32_t character = 0;
        const bool read = c == '\\' ? Escape(character) : c < 0x80 ? Control(character) : RawCharacter(character);
        if (!read) {
            return false;
        }
        TakeCharacter(character, place, text);
    }
    if (at == input.size()) {
        return Fail(start, "the string has no closing quote");
    }
    ++at;
    return true;
}

// The grammar of JSON numbers; what they must be is for the reader to say.
bool JsonParser::Number(std::string_view& written)
{
    const std::size_t start = at;
    if (input[at] == '-') {
        ++at;
    }
    if (at < input.size() && input[at] == '0') {
        ++at;
        if (at < input.size() && IsDigit(input[at])) {
            const std::size_t end = input.find_first_not_of("0123456789", at);
            const std::string_view number = std::string_view(input).substr(start, end - start);
            at = start;
            return Fail("expected a number without leading zeros, found " + DumpNotation::NumberShown(number));
        }
    } else if (!Digits("a digit")) {
        return false;
    }
    if (at < input.size() && input[at] == '.') {
        ++at;
        if (!Digits("a digit after the decimal point")) {
            return false;
        }
    }
    if (at < input.size() && (input[at] == 'e' || input[at] == 'E')) {
        ++at;
        if (at < input.size() && (input[at] == '+' || input[at] == '-')) {
            ++at;
        }
        if (!Digits("a digit in the exponent")) {
            return false;
        }
    }
    written = std::string_view(input).substr(start, at - start);
    return true;
}

bool JsonParser::Skip()
{
    InputPlace keyAt;
    std::string_view number;
    switch (Next()) {
    case JSON_OBJECT:
        if (!EnterObject()) {
            return false;
        }
        while (NextMember(skipped, keyAt)) {
            Skip();
        }
        return !failed;
    case JSON_ARRAY:
        if (!EnterArray()) {
            return false;
        }
        while (NextItem()) {
            Skip();
        }
        return !failed;
    case JSON_STRING:
        return String(skipped);
    case JSON_NUMBER:
        return Number(number);
    case JSON_TRUE:
        return Literal("true");
    case JSON_FALSE:
        return Literal("false");
    case JSON_NULL:
        return Literal("null");
    case JSON_NO_VALUE:
        break;
    }
    return Fail("expected a value, found " + Found());
}

bool JsonParser::Finish()
{
    if (failed) {
        return false;
    }
    SkipWhitespace();
    return at == input.size() || Fail("expected the end of the input after the document");
}

bool JsonParser::Failed() const
{
    return failed;
}

bool JsonParser::Fail(const std::string& message)
{
    return Fail(Here(), message);
}

// Only the first syntax error is told: what follows it cannot be read as meant.
bool JsonParser::Fail(const InputPlace& place, const std::string& message)
{
    if (!failed) {
        builder.AddError(place, [&message] { return message; });
        failed = true;
    }
    return false;
}

std::string JsonParser::Found() const
{
    if (at == input.size()) {
        return "the end of the input";
    }
    const unsigned char c = static_cast<unsigned char>(input[at]);
    if (DumpNotation::IsPrintableAscii(c)) {
        return DumpNotation::JsonExcerpt(std::string_view(input).substr(at, 1), 1);
    }
    return "byte 0x" + DumpNotation::HexByte(c);
}

// On locals: the compiler cannot keep a member in a register across the reads
// of the input, and the indenting of a dump is most of its bytes.
void JsonParser::SkipWhitespace()
{
    const char* const bytes = input.data();
    const std::size_t size = input.size();
    std::size_t next = at;
    for (; next < size; ++next) {
        const char c = bytes[next];
        if (c == '\n') {
            ++line;
            lineStart = next + 1;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            break;
        }
    }
    at = next;
}

bool JsonParser::Enter()
{
    if (failed) {
        return false;
    }
    if (depth == MAX_DEPTH) {
        return Fail("values nested more than " + std::to_string(MAX_DEPTH) + " deep");
    }
    atFirst[depth++] = true;
    ++at;
    return true;
}

bool JsonParser::NextIn(char closing)
{
    if (failed) {
        return false;
    }
    SkipWhitespace();
    if (at < input.size() && input[at] == closing) {
        ++at;
        --depth;
        return false;
    }
    bool& first = atFirst[depth - 1];
    if (!first) {
        if (at == input.size() || input[at] != ',') {
            return Fail(std::string("expected \",\" or \"") + closing + "\", found " + Found());
        }
        ++at;
    }
    first = false;
    return true;
}

bool JsonParser::Literal(std::string_view word)
{
    at += word.size();
    return true;
}

bool JsonParser::Digits(const char* what)
{
    const std::size_t start = at;
    std::size_t end = at;
    while (end < input.size() && IsDigit(input[end])) {
        ++end;
    }
    at = end;
    return at != start || Fail(std::string("expected ") + what + ", found " + Found());
}

std::size_t JsonParser::PlainRun() const
{
    std::size_t end = at;
    while (end < input.size() && PLAIN_BYTES.plain[static_cast<unsigned char>(input[end])]) {
        ++end;
    }
    return end - at;
}

bool JsonParser::Control(char32_t& character)
{
    character = static_cast<unsigned char>(input[at]);
    if (character < 0x20) {
        return Fail("a control character in a string: expected it escaped, as \\u00" +
                    DumpNotation::HexByte(static_cast<unsigned char>(character)));
    }
    ++at;
    return true;
}

bool JsonParser::Escape(char32_t& character)
{
    const InputPlace escapeAt = Here();
    const char kind = at + 1 < input.size() ? input[at + 1] : '\0';
    const std::string_view simple = "\"\\/bfnrt";
    const std::string_view meaning = "\"\\/\b\f\n\r\t";
    const std::size_t k = at + 1 < input.size() ? simple.find(kind) : std::string_view::npos;
    if (k != std::string_view::npos) {
        character = static_cast<unsigned char>(meaning[k]);
        at += 2;
        return true;
    }
    if (kind != 'u') {
        // The backslash and the letter after it, if any.
        const std::size_t length = at + 1 < input.size() ? 2 : 1;
        return Fail(escapeAt, "bad escape " +
                                  DumpNotation::JsonExcerpt(std::string_view(input).substr(at, length), length) +
                                  ": expected \\\", \\\\, \\/, \\b, \\f, \\n, \\r, \\t or \\uXXXX");
    }
    if (!UnicodeEscape(character)) {
        return false;
    }
    if (IsHighSurrogate(character) || IsLowSurrogate(character)) {
        return Surrogate(character, escapeAt);
    }
    return true;
}

// A high surrogate followed by a low one is one character; any other surrogate
// is an error of its own, and the unit after a lone high one is read again as
// a character.
bool JsonParser::Surrogate(char32_t& character, const InputPlace& escapeAt)
{
    const std::size_t lowAt = at;
    if (IsHighSurrogate(character) && input.compare(at, 2, "\\u") == 0) {
        char32_t low = 0;
        if (!UnicodeEscape(low)) {
            return false;
        }
        if (IsLowSurrogate(low)) {
            character = 0x10000 + ((character - FIRST_HIGH_SURROGATE) << 10) + (low - FIRST_LOW_SURROGATE);
            return true;
        }
        at = lowAt;
    }
    builder.AddError(escapeAt, [character] {
        return "the lone surrogate " + DumpNotation::CharacterNumber(character) +
               ": expected a pair, \\uD800 to \\uDBFF then \\uDC00 to \\uDFFF";
    });
    character = TOLD_SURROGATE;
    return true;
}

// Reads \uXXXX at the reading position.
bool JsonParser::UnicodeEscape(char32_t& unit)
{
    const InputPlace escapeAt = Here();
    unit = 0;
    for (std::size_t digit = 2; digit < 6; ++digit) {
        const int value = at + digit < input.size() ? DumpNotation::HexDigitValue(input[at + digit]) : -1;
        if (value < 0) {
            return Fail(escapeAt, "bad escape " +
                                      DumpNotation::JsonExcerpt(std::string_view(input).substr(at, digit), digit) +
                                      ": expected \\u and four hexadecimal digits");
        }
        unit = unit * 16 + static_cast<char32_t>(value);
    }
    at += 6;
    return true;
}

// Bytes that are not UTF-8 break the syntax: RFC 8259 has a document in UTF-8.
bool JsonParser::RawCharacter(char32_t& character)
{
    const Utf8::Decoded decoded = Utf8::Decode(std::string_view(input).substr(at));
    if (decoded.fault != Utf8::NO_FAULT) {
        return Fail("bytes that are not UTF-8 in a string");
    }
    character = decoded.character;
    at += decoded.length;
    return true;
}

// Not a syntax error: the error is told and the parse goes on, with '?' in
// the character's place.
void JsonParser::TakeCharacter(char32_t character, const InputPlace& place, InputText& text)
{
    if (character == TOLD_SURROGATE) {
        text.Add('?');
        return;
    }
    const int byte = CodePage::ByteOfCharacter(page, character);
    if (byte != CodePage::NO_BYTE) {
        text.Add(static_cast<char>(byte));
        return;
    }
    builder.AddError(place, [this, character] { return CodePage::NoByteFor(page, character); });
    text.Add('?');
}
