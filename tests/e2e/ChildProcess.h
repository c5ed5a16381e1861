#pragma once

#include "app/Win32.h"

#include <string>

// A program started as a process of its own, as the shell or a user starts
// it. A process that still runs when the object goes is ended.
class ChildProcess {
public:
    // Leaves STARTF_USESHOWWINDOW unset, so the program gets SW_SHOWDEFAULT.
    static const int NO_SHOW_STATE = -1;

    // Starts program in folder; showState is STARTUPINFO's wShowWindow.
    ChildProcess(const std::string& program, const std::string& folder, int showState);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return info.hProcess != nullptr; }
    // The process's first visible top-level window, looked for every
    // millisecond; null if none is visible within timeoutMs.
    HWND WaitForVisibleWindow(DWORD timeoutMs) const;
    // The exit code, or STILL_ACTIVE if the process still runs after timeoutMs.
    DWORD WaitForExit(DWORD timeoutMs) const;

private:
    PROCESS_INFORMATION info = {};
};
