#pragma once

#include "app/Win32.h"
#include "tests/support/LayoutRects.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowRects.h"
#include "ui/LayoutRect.h"

#include <vector>

// Makes the window's client area dx and dy pixels larger than it is.
void GrowClientArea(HWND window, int dx, int dy);

// Notes every WM_WINDOWPOSCHANGED of one window, by subclassing it for its lifetime.
class WindowPosLog {
public:
    explicit WindowPosLog(HWND window);
    ~WindowPosLog();
    WindowPosLog(const WindowPosLog&) = delete;
    WindowPosLog& operator=(const WindowPosLog&) = delete;

    struct Change {
        UINT flags;
        LayoutRect rect;
    };
    std::vector<Change> changes;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window;
    WNDPROC previous;
};

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
