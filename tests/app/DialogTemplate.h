#pragma once

#include "app/Win32.h"

#include <vector>

// An in-memory dialog template: a hidden dialog with an edit control
// (EDIT_ID, the first tab stop) and a push button (BUTTON_ID).
class DialogTemplate {
public:
    static constexpr WORD EDIT_ID = 100;
    static constexpr WORD BUTTON_ID = 101;

    explicit DialogTemplate(bool withFont);

    // The template for CreateDialogIndirectParamA; valid while this object lives.
    LPCDLGTEMPLATEA Get() const;

private:
    void Add(WORD word);
    void AddDword(DWORD value);
    void AddText(const wchar_t* text);
    void AlignToDword();
    void AddItem(DWORD style, WORD id, WORD atom);

    std::vector<WORD> words;
};

// Creates a modeless dialog from the template with InitialDialogProcedure.
HWND CreateTestDialog(const DialogTemplate& dialogTemplate);
