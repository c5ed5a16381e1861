// The layout tests' dialog host: a real window from a test template with the
// resize engine driven exactly as the main window drives it.
#include "tests/ui/ResizeTestDialog.h"

#include "app/AppModule.h"
#include "app/PendingCreation.h"

ResizeTestDialog::ResizeTestDialog(const ResizeRule* rules) : DialogResizer(*this, rules)
{
}

ResizeTestDialog::~ResizeTestDialog()
{
    if (window != nullptr) {
        DestroyWindow(window);
    }
}

HWND ResizeTestDialog::Create(int templateId, HWND parent)
{
    pendingCreation.PrepareCreation(this);
    return CreateDialogParamA(appModule.instance, MAKEINTRESOURCEA(templateId), parent, InitialDialogProcedure, 0);
}

BOOL ResizeTestDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG:
        CreateExtraControls(window);
        if (smallIcon != nullptr) {
            SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
        }
        Initialize(createGrip, useMinTrackSize, forcedStyle);
        result = TRUE;
        return TRUE;
    case WM_SIZE:
        result = HandleSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                            static_cast<short>(HIWORD(lParam)));
        return TRUE;
    case WM_GETMINMAXINFO:
        result = HandleGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_SETREDRAW:
        if (noteRedraw) {
            redrawNotes.push_back(static_cast<int>(wParam));
        }
        return FALSE;
    case WM_ERASEBKGND:
        if (noteRedraw) {
            redrawNotes.push_back(-1);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void ResizeTestDialog::CreateExtraControls(HWND window) const
{
    for (const ExtraControl& control : extraControls) {
        const RECT& r = control.rect;
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), appModule.instance,
                        nullptr);
    }
}
