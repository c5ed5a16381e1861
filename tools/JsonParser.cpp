#include "tools/JsonParser.h"

#include "tools/NumberText.h"

#include <cstdint>
#include <cstdio>

namespace {

// Far deeper than a dump goes, and shallow enough for any stack.
const int MAX_DEPTH = 64;
const uint32_t LAST_BYTE_CHARACTER = 0xFF;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string CharacterName(uint32_t character)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

class Parser {
public:
    Parser(const std::string& input, std::vector<TableInputError>& errors) : input(input), errors(errors) {}

    bool Document(JsonValue& document)
    {
        if (!Value(document, 0)) {
            return false;
        }
        SkipWhitespace();
        return at == input.size() || Fail("expected the end of the input after the document");
    }

private:
    InputPlace Here() const { return {line, static_cast<int>(at - lineStart) + 1, {}}; }

    bool Fail(const std::string& message) { return Fail(Here(), message); }

    bool Fail(const InputPlace& place, const std::string& message)
    {
        errors.emplace_back(place, message);
        return false;
    }

    std::string Found() const
    {
        if (at == input.size()) {
            return "the end of the input";
        }
        const unsigned char c = static_cast<unsigned char>(input[at]);
        char byte[16];
        std::snprintf(byte, sizeof byte, "byte 0x%02X", c);
        return c >= 0x20 && c <= 0x7E ? "\"" + input.substr(at, 1) + "\"" : byte;
    }

    void SkipWhitespace()
    {
        for (; at < input.size(); ++at) {
            const char c = input[at];
            if (c == '\n') {
                ++line;
                lineStart = at + 1;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
        }
    }

    bool Skip(char expected)
    {
        SkipWhitespace();
        if (at < input.size() && input[at] == expected) {
            ++at;
            return true;
        }
        return false;
    }

    bool Value(JsonValue& value, int depth)
    {
        SkipWhitespace();
        value.place = Here();
        if (depth == MAX_DEPTH) {
            return Fail("values nested more than " + std::to_string(MAX_DEPTH) + " deep");
        }
        const char c = at < input.size() ? input[at] : '\0';
        if (c == '{') {
            return Object(value, depth);
        }
        if (c == '[') {
            return Array(value, depth);
        }
        if (c == '"') {
            value.kind = JSON_STRING;
            return String(value.text);
        }
        if (c == '-' || IsDigit(c)) {
            return Number(value);
        }
        return Literal(value);
    }

    bool Literal(JsonValue& value)
    {
        const struct {
            const char* word;
            JsonKind kind;
        } literals[] = {{"true", JSON_TRUE}, {"false", JSON_FALSE}, {"null", JSON_NULL}};
        for (const auto& literal : literals) {
            const std::string word = literal.word;
            if (input.compare(at, word.size(), word) == 0) {
                value.kind = literal.kind;
                at += word.size();
                return true;
            }
        }
        return Fail("expected a value, found " + Found());
    }

    bool Object(JsonValue& value, int depth)
    {
        value.kind = JSON_OBJECT;
        ++at;
        if (Skip('}')) {
            return true;
        }
        do {
            SkipWhitespace();
            JsonValue key;
            key.kind = JSON_STRING;
            key.place = Here();
            if (at == input.size() || input[at] != '"') {
                return Fail("expected a key in quotes, found " + Found());
            }
            if (!String(key.text)) {
                return false;
            }
            if (!Skip(':')) {
                return Fail("expected \":\" after the key, found " + Found());
            }
            value.keys.push_back(key);
            value.values.emplace_back();
            if (!Value(value.values.back(), depth + 1)) {
                return false;
            }
        } while (Skip(','));
        return Skip('}') || Fail("expected \",\" or \"}\", found " + Found());
    }

    bool Array(JsonValue& value, int depth)
    {
        value.kind = JSON_ARRAY;
        ++at;
        if (Skip(']')) {
            return true;
        }
        do {
            value.values.emplace_back();
            if (!Value(value.values.back(), depth + 1)) {
                return false;
            }
        } while (Skip(','));
        return Skip(']') || Fail("expected \",\" or \"]\", found " + Found());
    }

    // The grammar of JSON numbers; what they must be is for the reader to say.
    bool Number(JsonValue& value)
    {
        value.kind = JSON_NUMBER;
        const std::size_t start = at;
        if (input[at] == '-') {
            ++at;
        }
        if (!Digits("a digit")) {
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
        value.text = input.substr(start, at - start);
        return true;
    }

    bool Digits(const std::string& what)
    {
        const std::size_t start = at;
        while (at < input.size() && IsDigit(input[at])) {
            ++at;
        }
        return at != start || Fail("expected " + what + ", found " + Found());
    }

    bool String(std::string& text)
    {
        const InputPlace start = Here();
        ++at;
        text.clear();
        while (at < input.size() && input[at] != '"') {
            const unsigned char c = static_cast<unsigned char>(input[at]);
            uint32_t character = 0;
            const bool read = c == '\\' ? Escape(character) : c < 0x80 ? Control(character) : Utf8(character);
            if (!read) {
                return false;
            }
            text += character <= LAST_BYTE_CHARACTER ? static_cast<char>(character) : '?';
        }
        if (at == input.size()) {
            return Fail(start, "the string has no closing quote");
        }
        ++at;
        return true;
    }

    bool Control(uint32_t& character)
    {
        character = static_cast<unsigned char>(input[at]);
        if (character < 0x20) {
            return Fail("a control character in a string: expected it escaped, as \\u00" +
                        CharacterName(character).substr(4));
        }
        ++at;
        return true;
    }

    bool Escape(uint32_t& character)
    {
        const InputPlace escapeAt = Here();
        const char kind = at + 1 < input.size() ? input[at + 1] : '\0';
        const std::string simple = "\"\\/bfnrt";
        const std::string meaning = "\"\\/\b\f\n\r\t";
        const std::size_t k = kind != '\0' ? simple.find(kind) : std::string::npos;
        if (k != std::string::npos) {
            character = static_cast<unsigned char>(meaning[k]);
            at += 2;
            return true;
        }
        character = 0;
        for (std::size_t digit = 2; kind == 'u' && digit < 6; ++digit) {
            const int value = at + digit < input.size() ? NumberText::HexDigitValue(input[at + digit]) : -1;
            if (value < 0) {
                return Fail(escapeAt, "bad escape " + input.substr(at, digit + 1) +
                                          ": expected \\u and four hexadecimal digits");
            }
            character = character * 16 + static_cast<uint32_t>(value);
        }
        if (kind != 'u') {
            return Fail(escapeAt, "bad escape " + input.substr(at, 2) +
                                      ": expected \\\", \\\\, \\/, \\b, \\f, \\n, \\r, \\t or \\uXXXX");
        }
        at += 6;
        return ByteCharacter(character, escapeAt);
    }

    bool Utf8(uint32_t& character)
    {
        const InputPlace start = Here();
        const unsigned char lead = static_cast<unsigned char>(input[at]);
        const int length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        // The smallest character of each length: a longer form of a smaller one is not UTF-8.
        const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        character = lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = at + k < input.size() ? static_cast<unsigned char>(input[at + k]) : 0;
            if ((next & 0xC0) != 0x80) {
                return Fail(start, "bytes that are not UTF-8 in a string");
            }
            character = character << 6 | (next & 0x3Fu);
        }
        if (length == 0 || character < smallest) {
            return Fail(start, "bytes that are not UTF-8 in a string");
        }
        at += static_cast<std::size_t>(length);
        return ByteCharacter(character, start);
    }

    // Not a syntax error: the error is told and the parse goes on.
    bool ByteCharacter(uint32_t character, const InputPlace& place)
    {
        if (character > LAST_BYTE_CHARACTER) {
            Fail(place, "the character " + CharacterName(character) +
                            ": expected U+0000 to U+00FF, each the byte of the same number");
        }
        return true;
    }

    const std::string& input;
    std::vector<TableInputError>& errors;
    std::size_t at = 0;
    int line = 1;
    std::size_t lineStart = 0;
};

} // namespace

bool JsonParser::Parse(const std::string& input, JsonValue& document, std::vector<TableInputError>& errors)
{
    Parser parser(input, errors);
    return parser.Document(document);
}
