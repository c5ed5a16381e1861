// The About box that the main window's About command runs modally. It centres
// itself over its owner and ends with OK (1) or Cancel (2).
#include "ui/AboutDialog.h"

#include "app/AppModule.h"
#include "app/PendingCreation.h"
#include "res/ResourceIds.h"
#include "ui/CenterOver.h"

INT_PTR AboutDialog::ShowModal(HWND owner)
{
    pendingCreation.PrepareCreation(this);
    return DialogBoxParamA(appModule.instance, MAKEINTRESOURCEA(ID_ABOUT_DIALOG), owner, InitialDialogProcedure, 0);
}

BOOL AboutDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG:
        result = HandleInitDialog(window);
        return TRUE;
    case WM_COMMAND:
        return HandleCommand(window, LOWORD(wParam), result);
    default:
        return FALSE;
    }
}

// TRUE lets the dialog manager give the focus to the first tab stop, OK.
LRESULT AboutDialog::HandleInitDialog(HWND window)
{
    // The parent of this owned pop-up is its owner.
    CenterOver(window, GetParent(window));
    return TRUE;
}

// Any notification counts; other control ids are left to the dialog manager.
BOOL AboutDialog::HandleCommand(HWND window, int controlId, LRESULT& result)
{
    if (controlId != IDOK && controlId != IDCANCEL) {
        return FALSE;
    }
    EndDialog(window, controlId == IDOK ? 1 : 2);
    result = 0;
    return TRUE;
}
