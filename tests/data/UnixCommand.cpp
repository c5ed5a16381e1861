#include "tests/data/UnixCommand.h"

#include <windows.h>

#include <fstream>

namespace {

const char STATUS_FILE[] = "unix-command-status";
const DWORD FINISH_TIMEOUT_MS = 10000;
const DWORD POLL_INTERVAL_MS = 20;

} // namespace

// Wine gives no process handle for a Linux program, so the end of the command
// is seen by the status file that it renames into place as its last step.
int RunUnixCommand(const std::string& folder, const std::string& command)
{
    const std::string statusPath = folder + "\\" + STATUS_FILE;
    DeleteFileA(statusPath.c_str());
    std::string commandLine = std::string("/bin/sh -c \"") + command + "; echo $? > " + STATUS_FILE + ".part && mv " +
                              STATUS_FILE + ".part " + STATUS_FILE + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return -1;
    }
    if (process.hProcess != nullptr) {
        // A Windows program of that name: not what was asked for.
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return -1;
    }
    for (DWORD waited = 0; waited < FINISH_TIMEOUT_MS; waited += POLL_INTERVAL_MS) {
        std::ifstream status(statusPath);
        int code = -1;
        if (status >> code) {
            status.close();
            DeleteFileA(statusPath.c_str());
            return code;
        }
        Sleep(POLL_INTERVAL_MS);
    }
    return -1;
}
