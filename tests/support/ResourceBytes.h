#pragma once

#include "app/Win32.h"

// The bytes of module's resource of that type and id in English (United
// States), as the executable carries it; null if there is none.
const unsigned char* ResourceBytes(HINSTANCE module, LPCSTR type, int id);
