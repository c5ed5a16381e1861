#pragma once

// The arithmetic of CenterOver, apart from the window system.
#include "ui/LayoutRect.h"

// Gives the window rectangle moved so that it is centred on target (halves
// truncated toward zero), then pushed into area, horizontal first, each axis on
// its own. A window larger than the area keeps the area's left (top) edge when
// centring put it beyond that edge, else its right (bottom) edge.
LayoutRect CenterPlacement(const LayoutRect& window, const LayoutRect& area, const LayoutRect& target);
