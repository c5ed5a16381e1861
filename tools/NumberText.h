#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A whole number as a dump wrote it, with its value. The text is shown in
// errors as written: a value beyond the largest uint64_t is taken as the
// largest, which every check refuses, and would be shown wrong.
struct WrittenNumber {
    uint64_t value = 0;
    std::string_view text;
};

// Numbers as the dumps write them: decimal counts and indices, hexadecimal bytes.
class NumberText {
public:
    // digits holds decimal digits only, at least one.
    static bool ParseDecimal(std::string_view digits, uint64_t& value);
    // -1 for a character that is no hexadecimal digit.
    static int HexDigitValue(char c);
    // Two upper-case hexadecimal digits.
    static std::string HexByte(unsigned char byte);
    // A number's text for an error: as written, or its start and its length
    // where it runs long. written holds printable ASCII only.
    static std::string Shown(std::string_view written);
};
