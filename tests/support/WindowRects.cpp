#include "tests/support/WindowRects.h"

#include "tests/support/LayoutRects.h"
#include "tests/support/MessagePump.h"

LayoutRect FromRect(const RECT& rect)
{
    return MakeRect(rect.left, rect.top, rect.right, rect.bottom);
}

LayoutRect ChildRect(HWND parent, HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return FromRect(r);
}

LayoutRect ChildRect(HWND parent, int controlId)
{
    return ChildRect(parent, GetDlgItem(parent, controlId));
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

void GrowClientArea(HWND window, int dx, int dy)
{
    const LayoutRect outer = OuterRectOf(window);
    SetWindowPos(window, nullptr, 0, 0, outer.Width() + dx, outer.Height() + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
}
