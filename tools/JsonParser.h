#pragma once

#include "tools/InputText.h"
#include "tools/TableInputError.h"

#include <cstddef>
#include <string>
#include <string_view>

class JsonPath;
class TableBuilder;
struct CodePageTable;

enum JsonKind {
    JSON_NULL,
    JSON_TRUE,
    JSON_FALSE,
    JSON_NUMBER,
    JSON_STRING,
    JSON_ARRAY,
    JSON_OBJECT,
    // No value starts at the reading position.
    JSON_NO_VALUE,
};

// Reads a JSON document (RFC 8259) one value at a time and keeps none of them:
// the caller takes the values it wants and skips the others, so that the
// memory a document takes does not grow with what it holds. Strings hold
// single-byte texts: each character, raw in UTF-8 or escaped, stands for one
// byte. Plain, that is the byte of the same number, so a character above
// U+00FF is an error; in a code page, its byte there, so a character the code
// page does not hold is. Either is told while the parse goes on. A syntax
// error is told with what was expected there and ends the parse: every call
// after it returns false.
class JsonParser {
public:
    // page: null for the plain dump. Errors go to builder, as the table's do.
    JsonParser(const std::string& input, const CodePageTable* page, TableBuilder& builder);

    // The kind of the value at the reading position; Here() is then its place.
    JsonKind Next();
    InputPlace Here() const;

    // Each reads the value that Next announced.
    bool EnterObject();
    // Reads the next member's key and colon; false at the end of the object.
    bool NextMember(InputText& key, InputPlace& keyAt);
    bool EnterArray();
    // False at the end of the list.
    bool NextItem();
    // path: the string's own, which errors inside it name; null for a key.
    bool String(InputText& text, const JsonPath* path = nullptr);
    // The number as written, within the input.
    bool Number(std::string_view& written);
    bool Skip();
    // Nothing but whitespace after the document.
    bool Finish();

    bool Failed() const;

private:
    // Far deeper than a dump goes, and shallow enough for any stack.
    static constexpr int MAX_DEPTH = 64;

    JsonKind KindAt() const;
    bool Fail(const std::string& message);
    bool Fail(const InputPlace& place, const std::string& message);
    std::string Found() const;
    void SkipWhitespace();
    bool Enter();
    // After an object's or list's opening or one of its values: true before the
    // next one, false at the closing, which is then read.
    bool NextIn(char closing);
    bool ReadString(InputText& text);
    bool Literal(std::string_view word);
    bool Digits(const char* what);
    // The number of plain characters of a string from the reading position.
    std::size_t PlainRun() const;
    bool Control(char32_t& character);
    bool Escape(char32_t& character);
    bool UnicodeEscape(char32_t& unit);
    bool Surrogate(char32_t& character, const InputPlace& escapeAt);
    bool RawCharacter(char32_t& character);
    // Adds the byte that the character at place stands for to text.
    void TakeCharacter(char32_t character, const InputPlace& place, InputText& text);

    const std::string& input;
    const CodePageTable* const page;
    TableBuilder& builder;
    std::size_t at;
    int line = 1;
    std::size_t lineStart = 0;
    bool failed = false;
    // The path of the string being read, for the places of its errors.
    const JsonPath* stringPath = nullptr;
    // Where Next last looked, after the whitespace, and what it found there.
    std::size_t announcedAt = std::string::npos;
    JsonKind announced = JSON_NO_VALUE;
    int depth = 0;
    // For each open object or list, whether its first value is still to come.
    bool atFirst[MAX_DEPTH] = {};
    // For skipped strings.
    InputText skipped;
};
