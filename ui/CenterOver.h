#pragma once

#include "app/Win32.h"

// Moves window to the middle of reference, or, without one, of its parent (a
// child window) or its owner, then pushes it back into the parent's client
// area or the primary display's work area. A hidden or minimised reference of
// a top-level window counts as none: the window goes to the work area's middle.
void CenterOver(HWND window, HWND reference);
