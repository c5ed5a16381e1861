#pragma once

#include "app/Win32.h"
#include "ui/LayoutRect.h"

#include <vector>

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
