#include "tests/support/ChildProcess.h"

#include <vector>

namespace {

const DWORD POLL_MS = 1;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search.processId && IsWindowVisible(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ChildProcess::ChildProcess(const Launch& launch)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (launch.showState != NO_SHOW_STATE) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(launch.showState);
    }
    // The program is named only on the command line, so that Wine can find a
    // Linux program there; CreateProcessA may write into the command line, so
    // it gets a copy of its own.
    std::string text = "\"" + launch.program + "\"";
    if (!launch.arguments.empty()) {
        text += " " + launch.arguments;
    }
    std::vector<char> commandLine(text.begin(), text.end());
    commandLine.push_back('\0');
    const char* const folder = launch.folder.empty() ? nullptr : launch.folder.c_str();
    launched = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, launch.inheritHandles ? TRUE : FALSE, 0,
                              nullptr, folder, &startup, &info) != FALSE;
    if (!launched) {
        info = {};
    }
}

ChildProcess::ChildProcess(const std::string& program, const std::string& folder, int showState)
    : ChildProcess(Launch{program, {}, folder, showState, false})
{
}

ChildProcess::~ChildProcess()
{
    if (!Started()) {
        return;
    }
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, INFINITE);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

HWND ChildProcess::WaitForVisibleWindow(DWORD timeoutMs) const
{
    if (!Started()) {
        return nullptr;
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    WindowSearch search = {info.dwProcessId, nullptr};
    do {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(POLL_MS);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

DWORD ChildProcess::WaitForExit(DWORD timeoutMs) const
{
    if (!Started() || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}
