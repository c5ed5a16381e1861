#pragma once

// Rectangles read back from real windows, as the layout arithmetic counts them.
#include "app/Win32.h"
#include "ui/LayoutRect.h"

LayoutRect FromRect(const RECT& rect);
// A control's window rectangle in its parent's client coordinates.
LayoutRect ChildRect(HWND parent, HWND control);
LayoutRect ChildRect(HWND parent, int controlId);
LayoutRect ClientRectOf(HWND window);
LayoutRect OuterRectOf(HWND window);
LayoutRect WorkArea();

// Makes the window's client area dx and dy pixels larger than it is, and lets
// the messages that causes be handled.
void GrowClientArea(HWND window, int dx, int dy);
