#pragma once

#include "ui/LayoutRect.h"

#include <ostream>

// Lets test failures show rectangles as their four edges.
inline void PrintTo(const LayoutRect& rect, std::ostream* out)
{
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}
