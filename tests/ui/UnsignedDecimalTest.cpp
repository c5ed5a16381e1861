// The ambient field's number rule: digits alone, or nothing.

#include "ui/UnsignedDecimal.h"

#include <gtest/gtest.h>

namespace {

TEST(UnsignedDecimal, DigitsAloneGiveTheirValueAndAnythingElseNone)
{
    const std::optional<std::uint32_t> none;
    const struct {
        const char* text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"", 0u},
        {"0", 0u},
        {"254", 254u},
        {"00042", 42u},
        {"4294967295", 4294967295u},
        {"4294967296", none},
        {"4294967303", none},
        {"123456789012345678901234567890", none},
        {"7x", none},
        {"12abc", none},
        {" 12", none},
        {"12 ", none},
        {"\t7", none},
        {"-1", none},
        {"+5", none},
        {"abc", none},
        {"1 2", none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseUnsignedDecimal(c.text), c.value) << '"' << c.text << '"';
    }
}

} // namespace
