#include "tests/e2e/ChildProcess.h"

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

ChildProcess::ChildProcess(const std::string& program, const std::string& folder, int showState)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (showState != NO_SHOW_STATE) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showState);
    }
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    const std::string quoted = "\"" + program + "\"";
    std::vector<char> commandLine(quoted.begin(), quoted.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        info = {};
    }
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
