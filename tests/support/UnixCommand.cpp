#include "tests/support/UnixCommand.h"

#include "tests/support/ChildProcess.h"

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
    ChildProcess::Launch launch;
    launch.program = "/bin/sh";
    launch.arguments = std::string("-c \"") + command + "; echo $? > " + STATUS_FILE + ".part && mv " + STATUS_FILE +
                       ".part " + STATUS_FILE + "\"";
    launch.folder = folder;
    const ChildProcess shell(launch);
    // A Windows program of that name is not what was asked for; it ends with the object.
    if (!shell.Launched() || shell.Started()) {
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
