#include "tests/ui/WindowPosLog.h"

#include "tests/support/WindowRects.h"

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
