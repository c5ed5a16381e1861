#include "ui/CenterPlacement.h"

#include <gtest/gtest.h>

#include "tests/ui/LayoutRectPrinter.h"

namespace {

LayoutRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    LayoutRect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

const LayoutRect WORK_AREA = Rect(0, 0, 1280, 1000);

}

TEST(CenterPlacement, CentresOnTheTargetAndKeepsTheSize)
{
    const LayoutRect placed = CenterPlacement(Rect(900, 900, 1180, 1052), WORK_AREA, Rect(200, 100, 800, 500));
    EXPECT_EQ(placed, Rect(360, 224, 640, 376));
}

TEST(CenterPlacement, WithoutReferenceTheAreaIsTheTarget)
{
    const LayoutRect placed = CenterPlacement(Rect(0, 0, 498, 350), WORK_AREA, WORK_AREA);
    EXPECT_EQ(placed, Rect(391, 325, 889, 675));
}

TEST(CenterPlacement, OddSumsAndSizesTruncateTowardZero)
{
    const LayoutRect area = Rect(-2000, -2000, 2000, 2000);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 301, 301), area, Rect(0, 0, 1001, 1001)).left, 350);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 301, 301), area, Rect(0, 0, 1001, 1001)).top, 350);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 1, 1), area, Rect(-3, -4, -2, -1)).left, -2);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 1, 1), area, Rect(-3, -4, -2, -1)).top, -2);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 3, 3), area, Rect(-3, 0, -2, 0)).left, -3);
}

TEST(CenterPlacement, TargetHangingOffTheAreaIsPushedBackInside)
{
    const LayoutRect placed = CenterPlacement(Rect(0, 0, 300, 200), WORK_AREA, Rect(1100, -150, 1500, 150));
    EXPECT_EQ(placed, Rect(980, 0, 1280, 200));
    const LayoutRect other = CenterPlacement(Rect(0, 0, 300, 200), WORK_AREA, Rect(-300, 900, 100, 1200));
    EXPECT_EQ(other, Rect(0, 800, 300, 1000));
}

TEST(CenterPlacement, TargetOnAnotherDisplayClampsToTheNearAreaEdge)
{
    const LayoutRect placed = CenterPlacement(Rect(0, 0, 300, 200), WORK_AREA, Rect(1400, 300, 2200, 900));
    EXPECT_EQ(placed, Rect(980, 500, 1280, 700));
}

TEST(CenterPlacement, WindowWiderThanTheAreaKeepsTheEdgeItWouldCross)
{
    const LayoutRect area = Rect(0, 0, 100, 80);
    // Centred x -50 lies left of the area: left edge kept, right overhangs.
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 200, 20), area, Rect(0, 0, 100, 80)).left, 0);
    // Centred x 300 lies inside but its right edge does not: right edge kept.
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 200, 20), area, Rect(350, 0, 450, 80)).left, -100);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 20, 200), area, Rect(0, 0, 100, 80)).top, 0);
    EXPECT_EQ(CenterPlacement(Rect(0, 0, 20, 200), area, Rect(0, 300, 100, 400)).top, -120);
}

TEST(CenterPlacement, EachAxisIsClampedOnItsOwn)
{
    const LayoutRect placed = CenterPlacement(Rect(0, 0, 300, 200), WORK_AREA, Rect(-400, 950, 0, 1150));
    EXPECT_EQ(placed, Rect(0, 800, 300, 1000));
}
