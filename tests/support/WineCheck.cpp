#include "tests/support/WineCheck.h"

#include "app/Win32.h"

bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}
