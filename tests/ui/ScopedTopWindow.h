#pragma once

#include "app/Win32.h"
#include "ui/LayoutRect.h"

// A plain top-level window to act as an owner or reference; destroyed with the object.
class ScopedTopWindow {
public:
    ScopedTopWindow(const LayoutRect& rect, DWORD style, HWND owner = nullptr);
    ~ScopedTopWindow();
    ScopedTopWindow(const ScopedTopWindow&) = delete;
    ScopedTopWindow& operator=(const ScopedTopWindow&) = delete;

    HWND Get() const { return window; }

private:
    HWND window;
};
