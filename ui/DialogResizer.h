#pragma once

#include "app/DialogWindow.h"
#include "app/Win32.h"
#include "ui/ResizeLayout.h"
#include "ui/ResizeRule.h"

// The layout engine of a resizable dialog, mixed into the dialog's class. It
// records the controls that the rule table names, adds a size grip, keeps the
// window from becoming smaller than it opened and places those controls again
// on every size change. It has no virtual operations: it reaches the window
// through the host it was built with, and runs the platform-free pass of
// ResizeLayout over that window's controls.
class DialogResizer {
public:
    // rules ends with {RESIZE_MARKER_ID, 0}; it is read only by Initialize.
    DialogResizer(const DialogWindow& host, const ResizeRule* rules);
    DialogResizer(const DialogResizer&) = delete;
    DialogResizer& operator=(const DialogResizer&) = delete;

    // At WM_INITDIALOG. Inconsistent group markers in the rule table raise
    // EXCEPTION_ARRAY_BOUNDS_EXCEEDED, non-continuable.
    void Initialize(bool createGrip, bool useMinTrackSize, DWORD forcedStyle);
    // For WM_SIZE, with the low and high words of lParam as signed values. 0.
    LRESULT HandleSize(UINT sizeType, int clientWidth, int clientHeight);
    // For WM_GETMINMAXINFO. 0.
    LRESULT HandleGetMinMaxInfo(MINMAXINFO* info);

protected:
    ~DialogResizer() = default;

    void Relayout(int clientWidth, int clientHeight);
    // True when the style changed.
    bool ChangeStyle(DWORD remove, DWORD add, UINT swpFlags);
    bool ChangeExStyle(DWORD remove, DWORD add, UINT swpFlags);
    // False when the array cannot grow.
    bool AppendEntry(const ResizeEntry& entry);

    ResizeEntryArray entries;
    int initialClientWidth = 0;
    int initialClientHeight = 0;
    int minTrackWidth = -1;
    int minTrackHeight = -1;
    bool gripCreated = false;

private:
    bool ChangeLong(int index, DWORD remove, DWORD add, UINT swpFlags);
    void DestroyOwnGrip();
    void CreateGrip(const RECT& client);

    const DialogWindow& host;
    const ResizeRule* const rules;
};
