#pragma once

#include <cstddef>
#include <string>

// What each system's half of CommitFile gives the part they share.

enum NewFileStatus {
    NEW_FILE_WRITTEN,
    // A file of that name exists: another name is tried.
    NEW_FILE_NAME_TAKEN,
    NEW_FILE_FAILED,
};

struct NewFileWrite {
    NewFileStatus status;
    // The system's words for a failure.
    std::string reason;
};

// Creates the file at path, which must not exist yet, with the attributes (on
// POSIX systems the permissions) of targetPath, writes bytes to it and flushes
// it to disk through the handle that created it. A failed write removes it.
NewFileWrite WriteNewFile(const std::string& path, const std::string& targetPath, const std::string& bytes);

unsigned long CurrentProcessId();

// The size of the next write of bytes after the first written ones: writes are
// split so that each fits the system's 32-bit count.
std::size_t NextPieceSize(const std::string& bytes, std::size_t written);
