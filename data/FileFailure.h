#pragma once

#include <string>
#include <system_error>

// Why a file could not be opened or read to its end, in the system's terms.
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
    // The C library's errno value; 0 where it gave none.
    int systemError = 0;
};

// The system's words for an error, or that it gave none: the one place where
// an error of the system is put into words, for the editor and the tool alike.
std::string SystemErrorText(std::error_code error);
