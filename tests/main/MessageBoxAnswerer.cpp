#include "tests/main/MessageBoxAnswerer.h"

namespace {

// The hook procedure has no context argument; one answerer at a time is enough.
MessageBoxAnswerer* activeAnswerer = nullptr;

// The static control that holds a message box's text.
const int MESSAGE_BOX_TEXT_ID = 0xFFFF;

bool IsDialogBox(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    return lstrcmpA(className, "#32770") == 0;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

bool ShowsIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

MessageBoxAnswerer::MessageBoxAnswerer()
{
    activeAnswerer = this;
    hook = SetWindowsHookExA(WH_CBT, HookProcedure, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    UnhookWindowsHookEx(hook);
    activeAnswerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::HookProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && activeAnswerer != nullptr) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        // Only owned boxes are answered: the window under test has no owner.
        if (IsDialogBox(window) && GetWindow(window, GW_OWNER) != nullptr) {
            activeAnswerer->OnActivate(window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::OnActivate(HWND window)
{
    Box box;
    box.caption = TextOf(window);
    const HWND text = GetDlgItem(window, MESSAGE_BOX_TEXT_ID);
    box.text = text != nullptr ? TextOf(text) : std::wstring();
    box.owner = GetWindow(window, GW_OWNER);
    box.hasIcon = ShowsIcon(window);
    box.hasYesNoCancel = GetDlgItem(window, IDYES) != nullptr && GetDlgItem(window, IDNO) != nullptr &&
                         GetDlgItem(window, IDCANCEL) != nullptr;
    boxes.push_back(box);

    QueuedAnswer answer{IDOK, {}};
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    if (answer.beforeAnswering) {
        answer.beforeAnswering();
    }
    const int button = answer.button;
    if (button == PRESS_ENTER) {
        PostMessageA(window, WM_KEYDOWN, VK_RETURN, 1);
        return;
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}
