#include "tools/Utf8.h"

#include <gtest/gtest.h>

namespace {

struct Utf8Case {
    const char* what;
    std::string bytes;
    Utf8::Fault fault;
    std::size_t length;
};

void PrintTo(const Utf8Case& utf8Case, std::ostream* out)
{
    *out << utf8Case.what;
}

class Utf8Refuses : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Refuses, NamesTheFaultAndTheBytesItTakes)
{
    // What follows the bytes is never taken into the fault.
    const Utf8::Decoded decoded = Utf8::Decode(GetParam().bytes + "\xC3\xA9");
    EXPECT_EQ(decoded.fault, GetParam().fault);
    EXPECT_EQ(decoded.length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8Refuses,
                         ::testing::Values(Utf8Case{"ContinuationFirst", "\x80", Utf8::NOT_A_START, 1},
                                           Utf8Case{"FiveByteStart", "\xF8\x88\x80\x80\x80", Utf8::NOT_A_START, 1},
                                           Utf8Case{"TwoBytesCutToOne", "\xC5", Utf8::CUT_SHORT, 1},
                                           Utf8Case{"ThreeBytesCutToTwo", "\xE2\x82", Utf8::CUT_SHORT, 2},
                                           Utf8Case{"FourBytesCutToThree", "\xF0\x9F\x98", Utf8::CUT_SHORT, 3},
                                           Utf8Case{"AsciiInTheMiddle",
                                                    "\xE2\x82"
                                                    "A\xAC",
                                                    Utf8::CUT_SHORT, 2},
                                           Utf8Case{"OverlongNul", "\xC0\x80", Utf8::OVERLONG, 2},
                                           Utf8Case{"OverlongSlashInThree", "\xE0\x80\xAF", Utf8::OVERLONG, 3},
                                           Utf8Case{"OverlongU07FFInThree", "\xE0\x9F\xBF", Utf8::OVERLONG, 3},
                                           Utf8Case{"OverlongUFFFFInFour", "\xF0\x8F\xBF\xBF", Utf8::OVERLONG, 4},
                                           Utf8Case{"FirstSurrogate", "\xED\xA0\x80", Utf8::SURROGATE, 3},
                                           Utf8Case{"U110000", "\xF4\x90\x80\x80", Utf8::BEYOND_UNICODE, 4},
                                           Utf8Case{"LargestFourByteForm", "\xF7\xBF\xBF\xBF", Utf8::BEYOND_UNICODE,
                                                    4}));

TEST(Utf8, EncodesAndDecodesTheCharactersAtEveryBoundary)
{
    const struct {
        char32_t character;
        std::string bytes;
    } cases[] = {
        {0x00, std::string(1, '\0')},
        {0x41, "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x141, "\xC5\x81"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xD7FF, "\xED\x9F\xBF"},
        {0xE000, "\xEE\x80\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        std::string encoded = "x";
        Utf8::Append(c.character, encoded);
        EXPECT_EQ(encoded, "x" + c.bytes) << static_cast<unsigned>(c.character);
        const Utf8::Decoded decoded = Utf8::Decode(c.bytes + "\x80");
        EXPECT_EQ(decoded.character, c.character);
        EXPECT_EQ(decoded.length, c.bytes.size());
        EXPECT_EQ(decoded.fault, Utf8::NO_FAULT) << static_cast<unsigned>(c.character);
    }
}

} // namespace
