// Helpers of the window tests: rectangles read back from real windows, a
// message pump and a window-position log.
#include "tests/ui/WindowTestSupport.h"

LayoutRect MakeRect(int left, int top, int right, int bottom)
{
    LayoutRect rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

namespace {

LayoutRect FromRect(const RECT& r)
{
    return MakeRect(r.left, r.top, r.right, r.bottom);
}

}

LayoutRect ChildRect(HWND parent, int controlId)
{
    RECT r{};
    GetWindowRect(GetDlgItem(parent, controlId), &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return FromRect(r);
}

LayoutRect ClientRectOf(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return FromRect(r);
}

LayoutRect OuterRectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return FromRect(r);
}

LayoutRect WorkArea()
{
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return FromRect(r);
}

LayoutRect Offset(const LayoutRect& rect, int dx, int dy)
{
    return MakeRect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

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
