// Window centring: chooses the bounding area and the target rectangle from the
// window system and leaves the arithmetic to CenterPlacement.
#include "ui/CenterOver.h"

#include "ui/CenterPlacement.h"
#include "ui/LayoutRect.h"

namespace {

constexpr UINT CENTER_FLAGS = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

LayoutRect ToLayoutRect(const RECT& rect)
{
    LayoutRect layout;
    layout.left = rect.left;
    layout.top = rect.top;
    layout.right = rect.right;
    layout.bottom = rect.bottom;
    return layout;
}

bool Shown(HWND reference)
{
    const LONG style = GetWindowLongA(reference, GWL_STYLE);
    return (style & WS_VISIBLE) != 0 && (style & WS_MINIMIZE) == 0;
}

} // namespace

void CenterOver(HWND window, HWND reference)
{
    const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
    if (reference == nullptr) {
        reference = child ? GetParent(window) : GetWindow(window, GW_OWNER);
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    RECT area{};
    RECT target{};
    if (child) {
        const HWND parent = GetParent(window);
        GetClientRect(parent, &area);
        GetClientRect(reference, &target);
        MapWindowPoints(reference, parent, reinterpret_cast<POINT*>(&target), 2);
    } else {
        if (reference != nullptr && !Shown(reference)) {
            reference = nullptr;
        }
        // The primary display's work area, even for a reference on another display.
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        if (reference != nullptr) {
            GetWindowRect(reference, &target);
        } else {
            target = area;
        }
    }
    const LayoutRect placed = CenterPlacement(ToLayoutRect(outer), ToLayoutRect(area), ToLayoutRect(target));
    SetWindowPos(window, nullptr, placed.left, placed.top, -1, -1, CENTER_FLAGS);
}
