// The window-facing half of the resize engine: it reads rectangles and styles
// from the window system, leaves the arithmetic to ResizeLayout and applies
// what that gives.
#include "ui/DialogResizer.h"

#include "app/AppModule.h"
#include "res/ResourceIds.h"
#include "ui/ResizeLayout.h"

namespace {

constexpr DWORD GRIP_STYLE =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN;
static_assert(GRIP_STYLE == 0x5400001C, "the grip is a bottom-right aligned size box");

// The grip follows the bottom-right corner and is repainted at every pass.
constexpr uint32_t GRIP_FLAGS = RESIZE_SHIFT_X | RESIZE_SHIFT_Y | RESIZE_INVALIDATE | RESIZE_OWN_GRIP;
static_assert(GRIP_FLAGS == 0x401C, "grip entry flags");

constexpr UINT MOVE_FLAGS = SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT RESIZE_PREVIOUS_FLAGS = SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE;
constexpr UINT STYLE_REFRESH_FLAGS = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT REPAINT_FLAGS = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

LayoutRect ToLayoutRect(const RECT& rect)
{
    LayoutRect layout;
    layout.left = rect.left;
    layout.top = rect.top;
    layout.right = rect.right;
    layout.bottom = rect.bottom;
    return layout;
}

// The control's window rectangle in the host's client coordinates.
bool ReadControlRect(HWND host, HWND control, LayoutRect& rect)
{
    RECT screen{};
    if (control == nullptr || !GetWindowRect(control, &screen)) {
        return false;
    }
    MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&screen), 2);
    rect = ToLayoutRect(screen);
    return true;
}

// Inconsistent rule tables are a defect of the program, never of its input.
void RaiseBoundsExceeded()
{
    RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

// Keeps the recorded gap between the previous group member and the control
// just placed; the vertical correction reads the member again after the
// horizontal one.
void CorrectPrevious(HWND host, const ControlPlacement& placement, const ResizeEntry& previous)
{
    const HWND control = GetDlgItem(host, previous.controlId);
    LayoutRect rect;
    if (placement.correctPreviousRight && ReadControlRect(host, control, rect)) {
        SetWindowPos(control, nullptr, rect.left, rect.top, placement.previousRight - rect.left, rect.Height(),
                     RESIZE_PREVIOUS_FLAGS);
    }
    if (placement.correctPreviousBottom && ReadControlRect(host, control, rect)) {
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.Width(), placement.previousBottom - rect.top,
                     RESIZE_PREVIOUS_FLAGS);
    }
}

}

DialogResizer::DialogResizer(const DialogWindow& host, const ResizeRule* rules) : host(host), rules(rules)
{
}

void DialogResizer::Initialize(bool createGrip, bool useMinTrackSize, DWORD forcedStyle)
{
    const HWND window = host.Window();
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if ((style & forcedStyle) != forcedStyle) {
        ChangeStyle(0, forcedStyle, 0);
    }
    const bool topLevel = (style & WS_CHILD) == 0;
    if (topLevel) {
        ChangeExStyle(0, WS_EX_DLGMODALFRAME, 0);
        if (SendMessageA(window, WM_GETICON, ICON_SMALL, 0) == 0) {
            SendMessageA(window, WM_SETICON, ICON_SMALL, 0);
        }
    }
    DestroyOwnGrip();

    entries.Release();
    minTrackWidth = -1;
    minTrackHeight = -1;
    RECT client{};
    GetClientRect(window, &client);
    initialClientWidth = client.right;
    initialClientHeight = client.bottom;
    gripCreated = false;

    if (createGrip && GetDlgItem(window, ID_SIZE_GRIP) == nullptr) {
        CreateGrip(client);
    }
    if (useMinTrackSize) {
        RECT outer{};
        if (topLevel) {
            GetWindowRect(window, &outer);
        } else {
            GetClientRect(window, &outer);
        }
        minTrackWidth = outer.right - outer.left;
        minTrackHeight = outer.bottom - outer.top;
    }
    const bool consistent = ParseResizeRules(rules, entries, [window](int32_t controlId) {
        LayoutRect recorded;
        ReadControlRect(window, GetDlgItem(window, controlId), recorded);
        return recorded;
    });
    if (!consistent) {
        RaiseBoundsExceeded();
    }
}

LRESULT DialogResizer::HandleSize(UINT sizeType, int clientWidth, int clientHeight)
{
    if (gripCreated && (sizeType == SIZE_MAXIMIZED || sizeType == SIZE_RESTORED)) {
        // Hidden before the pass, which still moves it to the new corner.
        ShowWindow(GetDlgItem(host.Window(), ID_SIZE_GRIP), sizeType == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
        Relayout(clientWidth, clientHeight);
        return 0;
    }
    if (sizeType != SIZE_MINIMIZED) {
        Relayout(clientWidth, clientHeight);
    }
    return 0;
}

LRESULT DialogResizer::HandleGetMinMaxInfo(MINMAXINFO* info)
{
    if (minTrackWidth != -1 && minTrackHeight != -1) {
        info->ptMinTrackSize.x = minTrackWidth;
        info->ptMinTrackSize.y = minTrackHeight;
    }
    return 0;
}

void DialogResizer::Relayout(int clientWidth, int clientHeight)
{
    const HWND window = host.Window();
    int cx = clientWidth;
    int cy = clientHeight;
    // A top-level host is held at its minimum by WM_GETMINMAXINFO instead.
    const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
    if (child && minTrackWidth != -1 && minTrackHeight != -1) {
        cx = cx < minTrackWidth ? minTrackWidth : cx;
        cy = cy < minTrackHeight ? minTrackHeight : cy;
    }
    const bool visible = IsWindowVisible(window) != FALSE;
    if (visible) {
        SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    }
    const bool consistent = WalkResizeEntries(
        entries.Data(), entries.Count(),
        [window](const ResizeEntry& entry) { return GetDlgItem(window, entry.controlId) != nullptr; },
        [this, cx, cy](const ResizeEntry& entry, const LayoutRect& groupBox, bool inGroup,
                       const ResizeEntry* previous) { PlaceControl(cx, cy, groupBox, entry, inGroup, previous); });
    if (!consistent) {
        RaiseBoundsExceeded();
    }
    if (visible) {
        SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    }
    RedrawWindow(window, nullptr, nullptr, REPAINT_FLAGS);
}

bool DialogResizer::PlaceControl(int clientWidth, int clientHeight, const LayoutRect& groupBox,
                                 const ResizeEntry& entry, bool inGroup, const ResizeEntry* previous)
{
    const HWND window = host.Window();
    const HWND control = GetDlgItem(window, entry.controlId);
    LayoutRect current;
    if (!ReadControlRect(window, control, current)) {
        return false;
    }
    PlacementInput input;
    input.clientWidth = clientWidth;
    input.clientHeight = clientHeight;
    input.initialClientWidth = initialClientWidth;
    input.initialClientHeight = initialClientHeight;
    input.inGroup = inGroup;
    input.groupBox = groupBox;
    input.previous = previous;
    const ControlPlacement placement = PlaceEdges(input, entry, current);
    if (previous != nullptr) {
        CorrectPrevious(window, placement, *previous);
    }
    if (placement.invalidate) {
        InvalidateRect(control, nullptr, TRUE);
    }
    if (placement.move) {
        const LayoutRect& rect = placement.rect;
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), MOVE_FLAGS);
    }
    return true;
}

bool DialogResizer::ChangeStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ChangeLong(GWL_STYLE, remove, add, swpFlags);
}

bool DialogResizer::ChangeExStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ChangeLong(GWL_EXSTYLE, remove, add, swpFlags);
}

bool DialogResizer::AppendEntry(const ResizeEntry& entry)
{
    return entries.Append(entry);
}

bool DialogResizer::ChangeLong(int index, DWORD remove, DWORD add, UINT swpFlags)
{
    const HWND window = host.Window();
    const DWORD old = static_cast<DWORD>(GetWindowLongA(window, index));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old) {
        return false;
    }
    SetWindowLongA(window, index, static_cast<LONG>(changed));
    if (swpFlags != 0) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0, swpFlags | STYLE_REFRESH_FLAGS);
    }
    return true;
}

// Only a grip that an earlier Initialize created goes; one that the template
// supplied stays.
void DialogResizer::DestroyOwnGrip()
{
    const HWND grip = GetDlgItem(host.Window(), ID_SIZE_GRIP);
    if (grip != nullptr && entries.Count() > 0 && (entries.Data()[0].flags & RESIZE_OWN_GRIP) != 0) {
        DestroyWindow(grip);
    }
}

void DialogResizer::CreateGrip(const RECT& client)
{
    const HWND window = host.Window();
    // Given the whole client area, the bottom-right aligned size box places
    // itself in the corner at the system's size.
    const HWND grip = CreateWindowExA(0, "SCROLLBAR", nullptr, GRIP_STYLE, client.left, client.top,
                                      client.right - client.left, client.bottom - client.top, window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_SIZE_GRIP)),
                                      appModule.instance, nullptr);
    if (!IsWindow(grip)) {
        return;
    }
    gripCreated = true;
    ResizeEntry entry;
    entry.controlId = ID_SIZE_GRIP;
    entry.flags = GRIP_FLAGS;
    ReadControlRect(window, grip, entry.recorded);
    AppendEntry(entry);
}
