// The ambient field's number rule: the documented unsigned rule of dialog
// integer fields (GetDlgItemInt), the same on every system.

#include "ui/UnsignedDecimal.h"

#include <gtest/gtest.h>

namespace {

TEST(UnsignedDecimal, PlainDigitsGiveTheirValue)
{
    EXPECT_EQ(ParseUnsignedDecimal("0"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal("7"), 7u);
    EXPECT_EQ(ParseUnsignedDecimal("254"), 254u);
    EXPECT_EQ(ParseUnsignedDecimal("00042"), 42u);
    EXPECT_EQ(ParseUnsignedDecimal("4294967295"), 4294967295u);
}

TEST(UnsignedDecimal, EmptyTextGivesZero)
{
    EXPECT_EQ(ParseUnsignedDecimal(""), 0u);
}

TEST(UnsignedDecimal, NumbersAbove32BitsGiveZero)
{
    EXPECT_EQ(ParseUnsignedDecimal("4294967296"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal("99999999999"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal("123456789012345678901234567890"), 0u);
}

TEST(UnsignedDecimal, LeadingBlanksAreSkipped)
{
    EXPECT_EQ(ParseUnsignedDecimal(" 12"), 12u);
    EXPECT_EQ(ParseUnsignedDecimal("\t \t7"), 7u);
    EXPECT_EQ(ParseUnsignedDecimal("   "), 0u);
}

TEST(UnsignedDecimal, DigitsRunUpToTheFirstOtherCharacter)
{
    EXPECT_EQ(ParseUnsignedDecimal("12 "), 12u);
    EXPECT_EQ(ParseUnsignedDecimal("12abc"), 12u);
    EXPECT_EQ(ParseUnsignedDecimal("1 2"), 1u);
    EXPECT_EQ(ParseUnsignedDecimal(" 254-1"), 254u);
    EXPECT_EQ(ParseUnsignedDecimal("4294967295 "), 4294967295u);
}

TEST(UnsignedDecimal, TooLargeNumberGivesZeroWhateverFollowsIt)
{
    EXPECT_EQ(ParseUnsignedDecimal("4294967296abc"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal(" 99999999999 1"), 0u);
}

TEST(UnsignedDecimal, TextWithoutLeadingDigitsGivesZero)
{
    EXPECT_EQ(ParseUnsignedDecimal("-5"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal("+5"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal("abc12"), 0u);
    EXPECT_EQ(ParseUnsignedDecimal(" x"), 0u);
}

} // namespace
