#pragma once

// A rectangle of the layout arithmetic: left and top inside, right and bottom
// outside, as the window system counts them, but without its headers so that
// the arithmetic builds and runs anywhere.
#include <cstdint>

struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

inline bool operator==(const LayoutRect& a, const LayoutRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline bool operator!=(const LayoutRect& a, const LayoutRect& b)
{
    return !(a == b);
}
