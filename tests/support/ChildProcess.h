#pragma once

#include "app/Win32.h"

#include <string>

// A program started as a process of its own, as the shell or a user starts
// it. A process that still runs when the object goes is ended.
class ChildProcess {
public:
    // Leaves STARTF_USESHOWWINDOW unset, so the program gets SW_SHOWDEFAULT.
    static const int NO_SHOW_STATE = -1;

    struct Launch {
        // A Windows program, or under Wine a Linux one such as /bin/sh.
        std::string program;
        // The command line after the program's quoted name.
        std::string arguments;
        // Empty for this process's current folder.
        std::string folder;
        // STARTUPINFO's wShowWindow.
        int showState = NO_SHOW_STATE;
        // True to let the program write to this process's standard handles.
        bool inheritHandles = false;
    };

    explicit ChildProcess(const Launch& launch);
    // Starts program in folder; showState is STARTUPINFO's wShowWindow.
    ChildProcess(const std::string& program, const std::string& folder, int showState);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // True once the system took the command line; Wine starts a Linux program
    // without giving a process handle for it.
    bool Launched() const { return launched; }
    bool Started() const { return info.hProcess != nullptr; }
    // The process's first visible top-level window, looked for every
    // millisecond; null if none is visible within timeoutMs.
    HWND WaitForVisibleWindow(DWORD timeoutMs) const;
    // The exit code, or STILL_ACTIVE if the process still runs after timeoutMs.
    DWORD WaitForExit(DWORD timeoutMs) const;

private:
    PROCESS_INFORMATION info = {};
    bool launched = false;
};
