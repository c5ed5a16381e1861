#include "tests/support/MessagePump.h"

int PumpMessages(HWND dialog)
{
    int quitCode = NO_QUIT;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitCode = static_cast<int>(msg.wParam);
            continue;
        }
        // The dialog may be destroyed by a message of this very pump.
        if (dialog == nullptr || !IsWindow(dialog) || !IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return quitCode;
}

void DiscardMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
