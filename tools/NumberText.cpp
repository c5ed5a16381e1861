#include "tools/NumberText.h"

#include <limits>

namespace {

// As many characters as an error quotes of a text.
const std::size_t SHOWN_CHARACTERS = 32;

} // namespace

bool NumberText::ParseDecimal(std::string_view digits, uint64_t& value)
{
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const uint64_t largest = std::numeric_limits<uint64_t>::max();
    value = 0;
    for (const char digit : digits) {
        const uint64_t d = static_cast<uint64_t>(digit - '0');
        value = value > (largest - d) / 10 ? largest : value * 10 + d;
    }
    return true;
}

int NumberText::HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string NumberText::HexByte(unsigned char byte)
{
    const char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

std::string NumberText::Shown(std::string_view written)
{
    if (written.size() <= SHOWN_CHARACTERS) {
        return std::string(written);
    }
    return std::string(written.substr(0, SHOWN_CHARACTERS)) + "... (" + std::to_string(written.size()) +
           " characters)";
}
