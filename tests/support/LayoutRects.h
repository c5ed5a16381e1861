#pragma once

// Rectangles of the layout arithmetic written briefly in tests, and shown as
// their four edges when an expectation fails.
#include "ui/LayoutRect.h"

#include <cstdint>
#include <ostream>

LayoutRect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
// The rectangle dx and dy pixels further right and down, its size kept.
LayoutRect Moved(const LayoutRect& rect, int32_t dx, int32_t dy);
// The rectangle with its right and bottom edges dx and dy pixels further out.
LayoutRect Grown(const LayoutRect& rect, int32_t dx, int32_t dy);
// Where a rectangle of this size lands centred on target, worked out by hand
// for targets that need no clamping.
LayoutRect CentredOn(const LayoutRect& target, int32_t width, int32_t height);

void PrintTo(const LayoutRect& rect, std::ostream* out);
