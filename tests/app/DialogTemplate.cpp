// Dialog templates built in memory, so the shell's tests need no resource script.
#include "tests/app/DialogTemplate.h"

#include "app/DialogWindow.h"

namespace {

constexpr WORD EDIT_ATOM = 0x0081;
constexpr WORD BUTTON_ATOM = 0x0080;

} // namespace

DialogTemplate::DialogTemplate(bool withFont)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | (withFont ? DS_SETFONT : 0);
    AddDword(style);
    AddDword(0);
    Add(2);
    for (const WORD coordinate : {0, 0, 160, 60}) {
        Add(coordinate);
    }
    Add(0);
    Add(0);
    AddText(L"Shell test");
    if (withFont) {
        Add(8);
        AddText(L"MS Shell Dlg");
    }
    AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, EDIT_ID, EDIT_ATOM);
    AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, BUTTON_ID, BUTTON_ATOM);
}

LPCDLGTEMPLATEA DialogTemplate::Get() const
{
    return reinterpret_cast<LPCDLGTEMPLATEA>(words.data());
}

void DialogTemplate::Add(WORD word)
{
    words.push_back(word);
}

void DialogTemplate::AddDword(DWORD value)
{
    Add(LOWORD(value));
    Add(HIWORD(value));
}

void DialogTemplate::AddText(const wchar_t* text)
{
    do {
        Add(static_cast<WORD>(*text));
    } while (*text++ != L'\0');
}

void DialogTemplate::AlignToDword()
{
    if (words.size() % 2 != 0) {
        Add(0);
    }
}

void DialogTemplate::AddItem(DWORD style, WORD id, WORD atom)
{
    AlignToDword();
    AddDword(style);
    AddDword(0);
    for (const WORD coordinate : {4, 4, 100, 14}) {
        Add(coordinate);
    }
    Add(id);
    Add(0xFFFF);
    Add(atom);
    Add(0);
    Add(0);
}

HWND CreateTestDialog(const DialogTemplate& dialogTemplate)
{
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr, InitialDialogProcedure,
                                      0);
}
