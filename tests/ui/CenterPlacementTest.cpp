#include "ui/CenterPlacement.h"

#include <gtest/gtest.h>

#include "tests/support/LayoutRects.h"

namespace {

const LayoutRect WORK_AREA = MakeRect(0, 0, 1280, 1000);

}

TEST(CenterPlacement, CentresOnTheTargetAndKeepsTheSize)
{
    const LayoutRect placed = CenterPlacement(MakeRect(900, 900, 1180, 1052), WORK_AREA, MakeRect(200, 100, 800, 500));
    EXPECT_EQ(placed, MakeRect(360, 224, 640, 376));
}

TEST(CenterPlacement, WithoutReferenceTheAreaIsTheTarget)
{
    const LayoutRect placed = CenterPlacement(MakeRect(0, 0, 498, 350), WORK_AREA, WORK_AREA);
    EXPECT_EQ(placed, MakeRect(391, 325, 889, 675));
}

TEST(CenterPlacement, OddSumsAndSizesTruncateTowardZero)
{
    const LayoutRect area = MakeRect(-2000, -2000, 2000, 2000);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 301, 301), area, MakeRect(0, 0, 1001, 1001)).left, 350);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 301, 301), area, MakeRect(0, 0, 1001, 1001)).top, 350);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 1, 1), area, MakeRect(-3, -4, -2, -1)).left, -2);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 1, 1), area, MakeRect(-3, -4, -2, -1)).top, -2);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 3, 3), area, MakeRect(-3, 0, -2, 0)).left, -3);
}

TEST(CenterPlacement, TargetHangingOffTheAreaIsPushedBackInside)
{
    const LayoutRect placed = CenterPlacement(MakeRect(0, 0, 300, 200), WORK_AREA, MakeRect(1100, -150, 1500, 150));
    EXPECT_EQ(placed, MakeRect(980, 0, 1280, 200));
    const LayoutRect other = CenterPlacement(MakeRect(0, 0, 300, 200), WORK_AREA, MakeRect(-300, 900, 100, 1200));
    EXPECT_EQ(other, MakeRect(0, 800, 300, 1000));
}

TEST(CenterPlacement, TargetOnAnotherDisplayClampsToTheNearAreaEdge)
{
    const LayoutRect placed = CenterPlacement(MakeRect(0, 0, 300, 200), WORK_AREA, MakeRect(1400, 300, 2200, 900));
    EXPECT_EQ(placed, MakeRect(980, 500, 1280, 700));
}

TEST(CenterPlacement, WindowWiderThanTheAreaKeepsTheEdgeItWouldCross)
{
    const LayoutRect area = MakeRect(0, 0, 100, 80);
    // Centred x -50 lies left of the area: left edge kept, right overhangs.
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 200, 20), area, MakeRect(0, 0, 100, 80)).left, 0);
    // Centred x 300 lies inside but its right edge does not: right edge kept.
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 200, 20), area, MakeRect(350, 0, 450, 80)).left, -100);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 20, 200), area, MakeRect(0, 0, 100, 80)).top, 0);
    EXPECT_EQ(CenterPlacement(MakeRect(0, 0, 20, 200), area, MakeRect(0, 300, 100, 400)).top, -120);
}

TEST(CenterPlacement, EachAxisIsClampedOnItsOwn)
{
    const LayoutRect placed = CenterPlacement(MakeRect(0, 0, 300, 200), WORK_AREA, MakeRect(-400, 950, 0, 1150));
    EXPECT_EQ(placed, MakeRect(0, 800, 300, 1000));
}
