#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct CodePageTable;

// A whole number as a dump wrote it, with its value. The text is shown in
// errors as written: a value beyond the largest uint64_t is taken as the
// largest, which every check refuses, and would be shown wrong.
struct WrittenNumber {
    uint64_t value = 0;
    std::string_view text;
};

// How the dumps write a table's bytes, texts and numbers, and how every error
// quotes its input. The dump and both of its readers hold to these rules, so
// that what one writes the others read back, byte for byte.
//
// A text is written in quotes, every byte readable back unambiguously: the
// quote and the backslash after a backslash, printable ASCII as itself, any
// other byte as an escape. Plain, the quoted text is ASCII, and no byte of an
// input quoted in an error reaches a terminal raw. In a code page (page not
// null), each byte that CodePage::Shows approves is its character in UTF-8.
namespace DumpNotation {

// The most bytes of an input that an error quotes.
constexpr std::size_t EXCERPT_SIZE = 32;

constexpr bool IsPrintableAscii(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

// The two bytes that a backslash comes before in a quoted text.
constexpr bool IsBackslashed(unsigned char byte)
{
    return byte == '"' || byte == '\\';
}

// A byte that a quoted text holds as itself.
constexpr bool StandsForItself(unsigned char byte)
{
    return IsPrintableAscii(byte) && !IsBackslashed(byte);
}

// Two upper-case hexadecimal digits.
std::string HexByte(unsigned char byte);
// -1 for a character that is no hexadecimal digit.
int HexDigitValue(char c);

// Other bytes outside printable ASCII as \xNN.
std::string Text(const std::string& bytes);
// Other bytes outside printable ASCII as \u00NN, the character of the same number.
std::string Json(const std::string& bytes);
// Printable ASCII as itself, backslashes included (a Windows path stays as it
// is), any other byte as \xNN: a name shown without quotes, such as a file's.
std::string Unquoted(const std::string& bytes);
// The same, appended to out, plain or in a code page: a whole table's dump is
// built without a string a text. In a code page, the other bytes are \xNN in
// the text; in JSON, \uXXXX of their characters, which each byte must have
// (JSON has no escape for a byte).
void AppendText(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out);
void AppendJson(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out);

// The start of bytes, at most EXCERPT_SIZE of them, quoted as Text or Json;
// where the input's bytes ran on to length, "... (N bytes)" follows.
std::string TextExcerpt(std::string_view bytes, uint64_t length);
std::string TextExcerpt(std::string_view bytes);
std::string JsonExcerpt(std::string_view bytes, uint64_t length);
// The same in a code page, for texts that a reader took into the table's bytes.
std::string JsonExcerpt(std::string_view bytes, uint64_t length, const CodePageTable* page);

// "U+0141": four hexadecimal digits at least.
std::string CharacterNumber(char32_t character);
// "'Ł' (U+0141)" where a code page the tool knows writes the character as a
// visible letter or sign; else the number alone, so that no control,
// direction mark or lone combining mark of the input reaches a terminal raw.
std::string CharacterShown(char32_t character);

// digits holds decimal digits only, at least one.
bool ParseDecimal(std::string_view digits, uint64_t& value);
// A number's text for an error: as written, or its start and its length
// where it runs long. written holds printable ASCII only.
std::string NumberShown(std::string_view written);

} // namespace DumpNotation
