#pragma once

#include "app/Win32.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
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

    // beforeAnswering runs while the box is up, as another program or a
    // second request would act then.
    void Answer(int button, std::function<void()> beforeAnswering = {})
    {
        answers.push_back({button, std::move(beforeAnswering)});
    }
    const std::vector<Box>& Boxes() const { return boxes; }
    void Clear() { boxes.clear(); }

private:
    static LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND box);

    struct QueuedAnswer {
        int button;
        std::function<void()> beforeAnswering;
    };

    HHOOK hook = nullptr;
    std::deque<QueuedAnswer> answers;
    std::vector<Box> boxes;
};
