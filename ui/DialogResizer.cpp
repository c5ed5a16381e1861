// The window-facing half of the resize engine: it sets the window up, keeps
// its minimum size and runs the platform-free pass of ResizeLayout over the
// window's controls, reached through HostControls.
#include "ui/DialogResizer.h"

#include "app/AppModule.h"
#include "res/ResourceIds.h"

namespace {

constexpr DWORD GRIP_STYLE =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN;
static_assert(GRIP_STYLE == 0x5400001C, "the grip is a bottom-right aligned size box");

// The grip follows the bottom-right corner and is repainted at every pass.
constexpr uint32_t GRIP_FLAGS = RESIZE_SHIFT_X | RESIZE_SHIFT_Y | RESIZE_INVALIDATE | RESIZE_OWN_GRIP;
static_assert(GRIP_FLAGS == 0x401C, "grip entry flags");

constexpr UINT MOVE_FLAGS = SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT SIZE_ONLY_FLAGS = SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE;
constexpr UINT STYLE_REFRESH_FLAGS = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT REPAINT_FLAGS = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

// The host window's controls as the resize pass sees them, in the host's
// client coordinates. The pass works on one control after another, so the
// last control looked up is kept: each lookup walks the host's children.
class HostControls final : public ResizeHost {
public:
    explicit HostControls(HWND host) : host(host) {}

    bool ControlExists(int32_t controlId) const override { return Control(controlId) != nullptr; }

    bool ReadControlRect(int32_t controlId, LayoutRect& rect) const override
    {
        const HWND control = Control(controlId);
        RECT screen{};
        if (control == nullptr || !GetWindowRect(control, &screen)) {
            return false;
        }
        MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&screen), 2);
        rect = LayoutRect{screen.left, screen.top, screen.right, screen.bottom};
        return true;
    }

    void MoveControl(int32_t controlId, const LayoutRect& rect, ResizeMove move) override
    {
        SetWindowPos(Control(controlId), nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     move == RESIZE_SIZE_ONLY ? SIZE_ONLY_FLAGS : MOVE_FLAGS);
    }

    void InvalidateControl(int32_t controlId) override { InvalidateRect(Control(controlId), nullptr, TRUE); }

private:
    HWND Control(int32_t controlId) const
    {
        if (control == nullptr || controlId != id) {
            control = GetDlgItem(host, controlId);
            id = controlId;
        }
        return control;
    }

    const HWND host;
    mutable int32_t id = 0;
    mutable HWND control = nullptr;
};

// Inconsistent rule tables are a defect of the program, never of its input.
void RaiseBoundsExceeded()
{
    RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

} // namespace

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
    if (!ParseResizeRules(rules, HostControls(window), entries)) {
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
    ResizeClientSizes sizes;
    sizes.clientWidth = clientWidth;
    sizes.clientHeight = clientHeight;
    sizes.initialClientWidth = initialClientWidth;
    sizes.initialClientHeight = initialClientHeight;
    // A top-level host is held at its minimum by WM_GETMINMAXINFO instead.
    const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
    if (child && minTrackWidth != -1 && minTrackHeight != -1) {
        sizes.clientWidth = clientWidth < minTrackWidth ? minTrackWidth : clientWidth;
        sizes.clientHeight = clientHeight < minTrackHeight ? minTrackHeight : clientHeight;
    }
    const bool visible = IsWindowVisible(window) != FALSE;
    if (visible) {
        SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    }
    HostControls controls(window);
    if (!RunResizePass(entries, sizes, controls)) {
        RaiseBoundsExceeded();
    }
    if (visible) {
        SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    }
    RedrawWindow(window, nullptr, nullptr, REPAINT_FLAGS);
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
    const HWND grip =
        CreateWindowExA(0, "SCROLLBAR", nullptr, GRIP_STYLE, client.left, client.top, client.right - client.left,
                        client.bottom - client.top, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_SIZE_GRIP)), appModule.instance, nullptr);
    if (!IsWindow(grip)) {
        return;
    }
    gripCreated = true;
    ResizeEntry entry;
    entry.controlId = ID_SIZE_GRIP;
    entry.flags = GRIP_FLAGS;
    HostControls(window).ReadControlRect(ID_SIZE_GRIP, entry.recorded);
    AppendEntry(entry);
}
