#include "ui/UnsignedDecimal.h"

std::uint32_t ParseUnsignedDecimal(const char* text)
{
    const std::uint64_t limit = UINT32_MAX;
    std::uint64_t value = 0;
    for (const char* digit = text; *digit != '\0'; ++digit) {
        if (*digit < '0' || *digit > '9') {
            return 0;
        }
        value = value * 10 + static_cast<std::uint64_t>(*digit - '0');
        if (value > limit) {
            return 0;
        }
    }
    return static_cast<std::uint32_t>(value);
}
