#pragma once

#include "app/DialogWindow.h"

#include <functional>
#include <vector>

// One message as a DialogWindow handler saw it.
struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A dialog object that records every message its handler sees and answers
// through a reaction the test sets. It counts the final step's calls.
class LoggingDialog : public DialogWindow {
public:
    using Reaction = std::function<BOOL(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    BOOL HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnWindowFinished(HWND oldWindow) override;

    // The logged messages with this number, in order.
    std::vector<LoggedMessage> Logged(UINT message) const;

    Reaction reaction;
    std::vector<LoggedMessage> log;
    int finishedCalls = 0;
    HWND finishedWindow = nullptr;
};
