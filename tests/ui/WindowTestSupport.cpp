// Helpers of the window tests: growing a window, a window-position log and a
// plain top-level window.
#include "tests/ui/WindowTestSupport.h"

void GrowClientArea(HWND window, int dx, int dy)
{
    const LayoutRect outer = OuterRectOf(window);
    SetWindowPos(window, nullptr, 0, 0, outer.Width() + dx, outer.Height() + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
}

WindowPosLog::WindowPosLog(HWND window) : window(window), previous(nullptr)
{
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowPosLog::Procedure)));
}

WindowPosLog::~WindowPosLog()
{
    if (IsWindow(window)) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
}

LRESULT CALLBACK WindowPosLog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowPosLog* const log = reinterpret_cast<WindowPosLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS* const pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        log->changes.push_back({pos->flags, ChildRect(GetParent(window), GetDlgCtrlID(window))});
    }
    return CallWindowProcA(log->previous, window, message, wParam, lParam);
}

ScopedTopWindow::ScopedTopWindow(const LayoutRect& rect, DWORD style, HWND owner)
    : window(CreateWindowExA(0, "STATIC", "reference", style, rect.left, rect.top, rect.Width(), rect.Height(), owner,
                             nullptr, GetModuleHandleA(nullptr), nullptr))
{
}

ScopedTopWindow::~ScopedTopWindow()
{
    DestroyWindow(window);
}
