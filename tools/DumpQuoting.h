#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct CodePageTable;

// How the dump writes a text: in quotes, every byte readable back
// unambiguously. The quote and the backslash are escaped with a backslash.
// Plain, the quoted text is ASCII; errors quote their input the same way, so
// that no byte of it reaches a terminal raw. In a code page (page not null),
// each byte that CodePage::Shows approves is its character in UTF-8.
class DumpQuoting {
public:
    // The most bytes of an input that an error quotes.
    static constexpr std::size_t EXCERPT_SIZE = 32;

    // Other bytes outside printable ASCII as \xNN.
    static std::string Text(const std::string& bytes);
    // Other bytes outside printable ASCII as \u00NN, the character of the same number.
    static std::string Json(const std::string& bytes);
    // The same, appended to out, plain or in a code page: a whole table's dump
    // is built without a string a text. In a code page, the other bytes are
    // \xNN in the text; in JSON, \uXXXX of their characters, which each byte
    // must have (JSON has no escape for a byte).
    static void AppendText(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out);
    static void AppendJson(const char* bytes, std::size_t length, const CodePageTable* page, std::string& out);

    // The start of bytes, at most EXCERPT_SIZE of them, quoted as Text or Json;
    // where the input's bytes ran on to length, "... (N bytes)" follows.
    static std::string TextExcerpt(std::string_view bytes, uint64_t length);
    static std::string JsonExcerpt(std::string_view bytes, uint64_t length);
    // The same in a code page, for texts that a reader took into the table's bytes.
    static std::string JsonExcerpt(std::string_view bytes, uint64_t length, const CodePageTable* page);
    static std::string TextExcerpt(std::string_view bytes);
};
