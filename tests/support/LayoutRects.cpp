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

void PrintTo(const LayoutRect& rect, std::ostream* out)
{
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}
