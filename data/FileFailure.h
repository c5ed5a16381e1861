#pragma once

#include <string>

// Why a file could not be opened or read to its end, in the system's terms.
// The editor's load and the table tool word their messages from it.
enum FileFailureKind {
    FILE_FAILURE_NONE,
    FILE_FAILURE_MISSING,
    FILE_FAILURE_FOLDER,
    FILE_FAILURE_OPEN,
    // A read failed, or the file ended before the length the system gave.
    FILE_FAILURE_READ,
};

struct FileFailure {
    FileFailureKind kind = FILE_FAILURE_NONE;
    // The system's errno value; 0 where it gave none.
    int systemError = 0;

    // In a few words, e.g. "no such file" or "cannot be opened: Permission denied".
    std::string Text() const;
};

// The system's words for an errno value, or that it gave none.
std::string SystemErrorText(int error);
