#pragma once

#include "app/Win32.h"

// Creates the yardsticks' dialog, shows it with showState and runs its loop
// until it is closed; gives the exit code, 0 when the dialog cannot be created.
int RunBareDialog(HINSTANCE instance, int showState);
