#pragma once

#include "app/Win32.h"
#include "tests/main/MessageBoxAnswerer.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "ui/MainDialog.h"

#include <gtest/gtest.h>

#include <string>

// The ways a user makes the window save: its button, or Yes to the question
// that a close or the end of a session asks about unsaved edits.
enum SaveRequest { SAVE_BUTTON, CLOSE, SESSION_END };

// A real main window created from the real template, in a folder of its own
// that holds the table file, driven with the messages a user's actions raise.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    void WriteTable(const std::string& bytes) const;
    std::string ReadTable() const;
    bool TableExists() const;

    // Creates the window as the shell does, shows it and handles what it posted.
    void Open();
    // Dispatches every queued message through the dialog manager and notes WM_QUIT.
    void Pump();

    void SelectTileset(int row);
    void SelectSlot(int row);
    // Types each character at the end of the field's text.
    void Type(int fieldId, const std::string& keys);
    // Selects the field's whole text and types over it.
    void TypeOver(int fieldId, const std::string& keys);
    void Backspace(int fieldId);
    // Sets the field's text at once, as a paste over everything does.
    void Paste(int fieldId, const std::string& text);
    void Command(int controlId, int notification = BN_CLICKED);
    // Asks for a save as request does, answering Yes to the question about
    // unsaved edits where there is one, then the next box with answer. Returns
    // the reply to the end of a session (TRUE for the others).
    LRESULT RequestSave(SaveRequest request, int answer);

    std::string FieldText(int fieldId) const;
    std::string SlotRow(int row) const;
    int SlotRowCount() const;
    int TilesetRowCount() const;
    std::string TilesetRow(int row) const;
    const TilesetRecord& Record(int t) const { return dialog.Table().RecordAt(t); }
    bool Modified() const { return dialog.Table().modified; }
    // The code of the WM_QUIT seen so far, or -1.
    int QuitCode() const { return quitCode; }

    MainDialog dialog;
    MessageBoxAnswerer boxes;
    HWND window = nullptr;
    TemporaryFolder folder;

private:
    HWND Control(int id) const { return GetDlgItem(window, id); }

    std::string previousFolder;
    int quitCode = -1;
};

// A table of three tilesets used by most tests; firstSlot is slot 0 of the first.
std::string SampleTable(const std::string& firstSlot = "Grass");
