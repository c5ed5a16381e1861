#include "tests/ui/ScopedTopWindow.h"

ScopedTopWindow::ScopedTopWindow(const LayoutRect& rect, DWORD style, HWND owner)
    : window(CreateWindowExA(0, "STATIC", "reference", style, rect.left, rect.top, rect.Width(), rect.Height(), owner,
                             nullptr, GetModuleHandleA(nullptr), nullptr))
{
}

ScopedTopWindow::~ScopedTopWindow()
{
    DestroyWindow(window);
}
