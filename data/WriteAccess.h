#pragma once

#include <string>

// Whether this user may change the file at path, as a save must know before it
// writes anything: a rename over a file succeeds on POSIX systems and under
// Wine whatever the file's own permissions say.
enum WriteAccess {
    // Also for a missing file, which the save creates, and for what is not a
    // plain file, which the save refuses for its kind.
    WRITE_ACCESS_ALLOWED,
    // The file has no write permission for anyone (the read-only attribute on
    // Windows), or lies on a read-only file system.
    WRITE_ACCESS_READ_ONLY,
    // The file's permissions or security do not let this user write it.
    WRITE_ACCESS_DENIED,
};

WriteAccess WriteAccessOf(const std::string& path);
