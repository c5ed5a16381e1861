// The dialog of the start-up benchmark's yardsticks: the least a dialog
// program does. A modeless dialog from a one-control template built in memory,
// shown with the start-up show state and ended by WM_CLOSE with exit code 2, as
// the editor's main window is. Built with the same toolchain and flags as
// kestrivane.exe.
#include "tests/e2e/BareDialog.h"

#include <vector>

namespace {

const int CLOSE_EXIT_CODE = 2;
const WORD BUTTON_ID = 1000;
const WORD BUTTON_ATOM = 0x0080;

void AddDword(std::vector<WORD>& words, DWORD value)
{
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

void AddText(std::vector<WORD>& words, const wchar_t* text)
{
    do {
        words.push_back(static_cast<WORD>(*text));
    } while (*text++ != L'\0');
}

// The editor's frame and font, at the editor's size, holding one push button.
std::vector<WORD> OneControlTemplate()
{
    std::vector<WORD> words;
    AddDword(words, WS_OVERLAPPEDWINDOW | DS_SETFONT);
    AddDword(words, 0);
    words.push_back(1);
    for (const WORD coordinate : {0, 0, 332, 195}) {
        words.push_back(coordinate);
    }
    words.push_back(0);
    words.push_back(0);
    AddText(words, L"bare dialog");
    words.push_back(8);
    AddText(words, L"MS Sans Serif");
    // Each item starts on a DWORD boundary.
    if (words.size() % 2 != 0) {
        words.push_back(0);
    }
    AddDword(words, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    AddDword(words, 0);
    for (const WORD coordinate : {275, 174, 50, 14}) {
        words.push_back(coordinate);
    }
    words.push_back(BUTTON_ID);
    words.push_back(0xFFFF);
    words.push_back(BUTTON_ATOM);
    AddText(words, L"Close");
    words.push_back(0);
    return words;
}

INT_PTR CALLBACK BareDialogProcedure(HWND window, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        PostQuitMessage(CLOSE_EXIT_CODE);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int RunBareDialog(HINSTANCE instance, int showState)
{
    const std::vector<WORD> dialogTemplate = OneControlTemplate();
    const HWND window = CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                                   nullptr, BareDialogProcedure, 0);
    if (window == nullptr) {
        return 0;
    }
    ShowWindow(window, showState);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
