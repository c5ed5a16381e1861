#pragma once

#include "app/Win32.h"
#include "ui/LayoutRect.h"

#include <vector>

// A control's window rectangle in its parent's client coordinates.
LayoutRect ChildRect(HWND parent, int controlId);
LayoutRect ClientRectOf(HWND window);
LayoutRect OuterRectOf(HWND window);
LayoutRect WorkArea();
LayoutRect MakeRect(int left, int top, int right, int bottom);
LayoutRect Offset(const LayoutRect& rect, int dx, int dy);

// Dispatches what is queued for this thread.
void PumpMessages();

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
