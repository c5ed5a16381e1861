#include "ui/ResizeLayout.h"

#include <gtest/gtest.h>

TEST(LayoutMulDiv, RoundsToNearestWithHalvesAwayFromZero)
{
    EXPECT_EQ(LayoutMulDiv(33, 120, 100), 40); // 39.6
    EXPECT_EQ(LayoutMulDiv(31, 120, 100), 37); // 37.2
    EXPECT_EQ(LayoutMulDiv(5, 1, 2), 3);       // 2.5
    EXPECT_EQ(LayoutMulDiv(-5, 1, 2), -3);     // -2.5
    EXPECT_EQ(LayoutMulDiv(5, -1, 2), -3);
    EXPECT_EQ(LayoutMulDiv(7, 1, 4), 2); // 1.75
    EXPECT_EQ(LayoutMulDiv(-7, 1, 4), -2);
    EXPECT_EQ(LayoutMulDiv(-9, 1, 4), -2); // -2.25
}

TEST(LayoutMulDiv, NegativeDenominatorFlipsTheSign)
{
    EXPECT_EQ(LayoutMulDiv(5, 1, -2), -3);
    EXPECT_EQ(LayoutMulDiv(-5, 1, -2), 3);
    EXPECT_EQ(LayoutMulDiv(33, 120, -100), -40);
}

TEST(LayoutMulDiv, KeepsTheFullProductBeforeDividing)
{
    EXPECT_EQ(LayoutMulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(LayoutMulDiv(2147483647, 2147483647, 2147483647), 2147483647);
    EXPECT_EQ(LayoutMulDiv(-2147483647, 2147483647, 2147483647), -2147483647);
}

TEST(LayoutMulDiv, GivesMinusOneForZeroDenominatorAndOverflow)
{
    EXPECT_EQ(LayoutMulDiv(10, 20, 0), -1);
    EXPECT_EQ(LayoutMulDiv(2147483647, 2, 1), -1);
    EXPECT_EQ(LayoutMulDiv(-2147483647, 2, 1), -1);
}
