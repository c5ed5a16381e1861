#pragma once

#include "app/PendingCreation.h"
#include "app/Win32.h"

class DialogWindow;

// The dialog procedure to create every DialogWindow's window with: it binds the
// window to the object prepared with pendingCreation.PrepareCreation.
INT_PTR CALLBACK InitialDialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Serves a bound window from its first message on.
INT_PTR CALLBACK DialogDispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Base class of the program's dialogs. The object is bound to its window on the
// window's first message and reached from then on through the window's
// DWLP_USER value, which therefore belongs to this class.
class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // TRUE when handled, with result set. For WM_INITDIALOG, WM_CTLCOLOR*,
    // WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON and WM_COMPAREITEM the
    // result is what the dialog procedure returns; for any other message it is
    // the result the sender sees. FALSE leaves the message to the dialog manager.
    virtual BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Releases the routing to this object; does not destroy the window.
    virtual ~DialogWindow();
    virtual DLGPROC GetDispatchProcedure();
    // Called once, after the window's last message has been handled.
    virtual void OnWindowFinished(HWND oldWindow);

    HWND Window() const;

protected:
    HWND window = nullptr;

private:
    friend class PendingCreation;
    friend INT_PTR CALLBACK InitialDialogProcedure(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK DialogDispatch(HWND, UINT, WPARAM, LPARAM);

    struct DialogMessage {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static constexpr DWORD STATE_DESTROYED = 0x1;

    DLGPROC Bind(HWND hwnd);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR DialogResult(UINT message, BOOL handled, LRESULT result);
    void FinishIfOutermost();

    PendingCreation::Record pendingRecord;
    // The message of the innermost handler now running, or null when none runs.
    const DialogMessage* currentMessage = nullptr;
    DWORD state = 0;
};
