#pragma once

// The one platform header of the Win32 code. The build defines STRICT,
// WIN32_LEAN_AND_MEAN, NOMINMAX and _WIN32_WINNT for every Windows target, so
// every source sees the same declarations.
#include <windows.h>
