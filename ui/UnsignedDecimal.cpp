#include "ui/UnsignedDecimal.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::uint32_t ParseUnsignedDecimal(const char* text)
{
    const std::uint64_t limit = UINT32_MAX;
    const char* digit = text;
    while (IsBlank(*digit)) {
        ++digit;
    }
    std::uint64_t value = 0;
    for (; IsDigit(*digit); ++digit) {
        value = value * 10 + static_cast<std::uint64_t>(*digit - '0');
        if (value > limit) {
            return 0;
        }
    }
    return static_cast<std::uint32_t>(value);
}
