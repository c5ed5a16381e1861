#include "tests/support/LayoutRects.h"

LayoutRect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    LayoutRect rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

LayoutRect Moved(const LayoutRect& rect, int32_t dx, int32_t dy)
{
    return MakeRect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}

LayoutRect Grown(const LayoutRect& rect, int32_t dx, int32_t dy)
{
    return MakeRect(rect.left, rect.top, rect.right + dx, rect.bottom + dy);
}

LayoutRect CentredOn(const LayoutRect& target, int32_t width, int32_t height)
{
    const int32_t x = (target.left + target.right) / 2 - width / 2;
    const int32_t y = (target.top + target.bottom) / 2 - height / 2;
    return MakeRect(x, y, x + width, y + height);
}

void PrintTo(const LayoutRect& rect, std::ostream* out)
{
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}
