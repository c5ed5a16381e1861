#pragma once

#include "app/Win32.h"

// The code that PumpMessages returns when no WM_QUIT came.
const int NO_QUIT = -1;

// Dispatches what is queued for this thread, without waiting. Each message
// goes first to dialog's dialog manager while that window lives, when one is
// given. A WM_QUIT is taken from the queue; returns the code of the last one,
// or NO_QUIT.
int PumpMessages(HWND dialog = nullptr);

// Removes what is queued for this thread without dispatching it, so that a
// test sees only what it posts itself.
void DiscardMessages();
