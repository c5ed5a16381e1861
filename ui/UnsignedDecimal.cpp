#include "ui/UnsignedDecimal.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::uint32_t> ParseUnsignedDecimal(const char* text)
{
    const std::uint64_t limit = UINT32_MAX;
    std::uint64_t value = 0;
    for (const char* digit = text; *digit != '\0'; ++digit) {
        if (!IsDigit(*digit)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(*digit - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}
