#pragma once

#include "app/DialogWindow.h"
#include "app/Win32.h"

// The modal About box: the program's name and version, its icon and a notice.
class AboutDialog : public DialogWindow {
public:
    AboutDialog() = default;

    // Runs the box over owner until it ends: 1 through OK or Enter, 2 through
    // Escape or the close box.
    INT_PTR ShowModal(HWND owner);

    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT HandleInitDialog(HWND window);
    BOOL HandleCommand(HWND window, int controlId, LRESULT& result);
};
