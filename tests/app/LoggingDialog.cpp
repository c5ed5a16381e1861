// The recording dialog object of the binding and dispatch tests.
#include "tests/app/LoggingDialog.h"

BOOL LoggingDialog::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    log.push_back({hwnd, message, wParam, lParam});
    return reaction ? reaction(message, wParam, lParam, result) : FALSE;
}

void LoggingDialog::OnWindowFinished(HWND oldWindow)
{
    ++finishedCalls;
    finishedWindow = oldWindow;
}

std::vector<LoggedMessage> LoggingDialog::Logged(UINT message) const
{
    std::vector<LoggedMessage> matching;
    for (const LoggedMessage& entry : log) {
        if (entry.message == message) {
            matching.push_back(entry);
        }
    }
    return matching;
}
