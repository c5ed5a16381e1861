#pragma once

#include "app/DialogWindow.h"
#include "app/Win32.h"
#include "ui/DialogResizer.h"

#include <vector>

// A resizable modeless dialog as the main window builds one: a DialogWindow
// with the resize engine mixed in, handing it WM_SIZE and WM_GETMINMAXINFO.
// It exposes the engine's state and notes the WM_SETREDRAW values it gets.
class ResizeTestDialog : public DialogWindow, public DialogResizer {
public:
    explicit ResizeTestDialog(const ResizeRule* rules);
    ~ResizeTestDialog() override;

    // Creates the window from the template, hidden unless the template says
    // otherwise; parent null for a top-level window.
    HWND Create(int templateId, HWND parent = nullptr);

    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const ResizeEntryArray& Entries() const { return entries; }
    const ResizeEntry& EntryAt(int index) const { return entries.Data()[index]; }
    int InitialClientWidth() const { return initialClientWidth; }
    int InitialClientHeight() const { return initialClientHeight; }
    int MinTrackWidth() const { return minTrackWidth; }
    int MinTrackHeight() const { return minTrackHeight; }
    bool GripCreated() const { return gripCreated; }

    // What WM_INITDIALOG passes to Initialize, and what it does first.
    bool createGrip = true;
    bool useMinTrackSize = true;
    DWORD forcedStyle = WS_CLIPCHILDREN;
    HICON smallIcon = nullptr;
    // Child windows created before Initialize, with their client-coordinate rectangles.
    struct ExtraControl {
        int id;
        RECT rect;
    };
    std::vector<ExtraControl> extraControls;

    // WM_SETREDRAW values and WM_ERASEBKGND (as -1) in arrival order, while noting.
    bool noteRedraw = false;
    std::vector<int> redrawNotes;

private:
    void CreateExtraControls(HWND window) const;
};
