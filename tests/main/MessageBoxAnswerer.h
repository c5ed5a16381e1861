#pragma once

#include "app/Win32.h"

#include <deque>
#include <string>
#include <vector>

// Answers the modal boxes that the code under test opens on this thread, as a
// user would: each box is recorded, then ended with the next queued button
// (IDOK when none is queued). Installs a CBT hook for the thread's lifetime of
// the object.
class MessageBoxAnswerer {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
        bool hasIcon = false;
        bool hasYesNoCancel = false;
    };

    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Answers with the default button, as the Enter key does.
    static const int PRESS_ENTER = 0;

    void Answer(int button) { answers.push_back(button); }
    const std::vector<Box>& Boxes() const { return boxes; }
    void Clear() { boxes.clear(); }

private:
    static LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND box);

    HHOOK hook = nullptr;
    std::deque<int> answers;
    std::vector<Box> boxes;
};
