#pragma once

#include <string>

// Runs a Linux shell command from this Windows program, in folder, and returns
// its exit status; -1 where none can be run, as on Windows itself, or it did not
// finish within ten seconds. Wine starts Linux programs that a Windows program
// names; the tests use it for what only the Linux side can make: the symbolic
// link a mod manager makes, a mounted file system. The command must not hold a
// double quote.
int RunUnixCommand(const std::string& folder, const std::string& command);
