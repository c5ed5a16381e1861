// Binding of dialog objects to their windows and the routing of every later
// message to the object, with the handlers' results turned into what the
// dialog manager expects.
#include "app/DialogWindow.h"

namespace {

// Messages whose dialog procedure result is the message result itself; every
// other handled message returns its result through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

// Serves a window created with InitialDialogProcedure that had no object
// waiting: it stays unbound for good, so it cannot take an object prepared
// later for another window.
INT_PTR CALLBACK UnboundDialogProcedure(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

INT_PTR CALLBACK InitialDialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* const object = pendingCreation.TakePending();
    if (object == nullptr) {
        SetWindowLongPtrA(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(UnboundDialogProcedure));
        return FALSE;
    }
    const DLGPROC procedure = object->Bind(hwnd);
    return procedure(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK DialogDispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* const object = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (object == nullptr) {
        return FALSE;
    }
    return object->Dispatch(message, wParam, lParam);
}

DialogWindow::~DialogWindow()
{
    if (pendingRecord.holder != nullptr) {
        pendingRecord.holder->Withdraw(this);
    }
    if (window != nullptr && GetWindowLongPtrA(window, DWLP_USER) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
    }
}

DLGPROC DialogWindow::GetDispatchProcedure()
{
    return DialogDispatch;
}

void DialogWindow::OnWindowFinished(HWND)
{
}

HWND DialogWindow::Window() const
{
    return window;
}

DLGPROC DialogWindow::Bind(HWND hwnd)
{
    window = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    const DLGPROC procedure = GetDispatchProcedure();
    SetWindowLongPtrA(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    return procedure;
}

INT_PTR DialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const DialogMessage thisMessage = {window, message, wParam, lParam};
    const DialogMessage* const outerMessage = currentMessage;
    currentMessage = &thisMessage;
    LRESULT result = 0;
    const BOOL handled = HandleMessage(window, message, wParam, lParam, result);
    currentMessage = outerMessage;

    const INT_PTR returned = DialogResult(message, handled, result);
    FinishIfOutermost();
    return returned;
}

// A handler that destroys its own window still writes its result to the old
// handle, where it has no effect: the handle is dropped only afterwards.
INT_PTR DialogWindow::DialogResult(UINT message, BOOL handled, LRESULT result)
{
    if (!handled) {
        if (message == WM_NCDESTROY) {
            state |= STATE_DESTROYED;
        }
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) {
        return static_cast<INT_PTR>(result);
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
    return TRUE;
}

// WM_NCDESTROY can arrive inside another handler of this object (DestroyWindow
// called from a command); the window is given up only when the outermost
// handler has returned.
void DialogWindow::FinishIfOutermost()
{
    if ((state & STATE_DESTROYED) == 0 || currentMessage != nullptr) {
        return;
    }
    state &= ~STATE_DESTROYED;
    const HWND oldWindow = window;
    window = nullptr;
    OnWindowFinished(oldWindow);
}
