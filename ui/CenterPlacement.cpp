#include "ui/CenterPlacement.h"

#include <cstdint>

namespace {

// 64-bit sums, so that no 32-bit rectangle can overflow; the result always
// lies between two 32-bit edges.
int64_t CenteredStart(int32_t targetLow, int32_t targetHigh, int32_t extent)
{
    return (static_cast<int64_t>(targetLow) + targetHigh) / 2 - extent / 2;
}

int64_t Clamped(int64_t start, int32_t extent, int32_t areaLow, int32_t areaHigh)
{
    if (start < areaLow) {
        return areaLow;
    }
    if (start + extent > areaHigh) {
        return static_cast<int64_t>(areaHigh) - extent;
    }
    return start;
}

} // namespace

LayoutRect CenterPlacement(const LayoutRect& window, const LayoutRect& area, const LayoutRect& target)
{
    const int32_t width = window.Width();
    const int32_t height = window.Height();
    const int64_t x = Clamped(CenteredStart(target.left, target.right, width), width, area.left, area.right);
    const int64_t y = Clamped(CenteredStart(target.top, target.bottom, height), height, area.top, area.bottom);
    LayoutRect placed;
    placed.left = static_cast<int32_t>(x);
    placed.top = static_cast<int32_t>(y);
    placed.right = static_cast<int32_t>(x + width);
    placed.bottom = static_cast<int32_t>(y + height);
    return placed;
}
