#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers as the dumps write them: decimal counts and indices, hexadecimal bytes.
class NumberText {
public:
    // digits holds decimal digits only, at least one; a value beyond the
    // largest uint64_t is taken as the largest, which every check refuses.
    static bool ParseDecimal(std::string_view digits, uint64_t& value);
    // -1 for a character that is no hexadecimal digit.
    static int HexDigitValue(char c);
    // Two upper-case hexadecimal digits.
    static std::string HexByte(unsigned char byte);
};
