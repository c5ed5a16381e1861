#pragma once

#include "data/CommitFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What each system's half of CommitFile gives the part they share, and back.

enum NewFileStatus {
    NEW_FILE_WRITTEN,
    // A file of that name exists, or another save's clean-up took it: another name is tried.
    NEW_FILE_NAME_TAKEN,
    NEW_FILE_FAILED,
};

struct NewFileWrite {
    NewFileStatus status;
    // The system's words for a failure.
    std::string reason;
    SystemFilePointer file;
    bool keepsOwnership;
};

struct PathParts {
    // Empty for the current folder.
    std::string folder;
    std::string name;
};

// The characters that end a folder's name in a path.
extern const char PATH_SEPARATORS[];

// Creates the file at path, which must not exist yet, as WriteTempFile
// describes, writes bytes to it and flushes it; the file stays held. A failed
// write removes it.
NewFileWrite WriteNewFile(const std::string& path, const std::string& targetPath, const std::string& bytes);

// Removes the held file at path, which is still this save's own.
void RemoveHeldFile(SystemFile& file, const std::string& path);

unsigned long CurrentProcessId();

// The longest name, in bytes, that a file in folder may have through this program.
std::size_t NameLengthLimit(const std::string& folder);

// True when the file at path has more names than this one: hard links, which
// replacing the file would part from it.
bool HasOtherNames(const std::string& path);

// The size of the next write of count bytes after the first written ones:
// writes are split so that each fits the system's 32-bit count.
std::size_t NextPieceSize(std::size_t count, std::size_t written);

// The folder that holds the file at path, and its name.
PathParts SplitPath(const std::string& path);

// A system's error number (errno, or what GetLastError gives), 0 for none.
using SystemError = unsigned long;

std::string SystemErrorReason(SystemError error);
FileCommitResult CommitFailure(FileCommitStatus status, SystemError error);

// The plain file at path opened for writing into it, with other writers kept
// out where the system can; null, with the error, where it cannot be opened
// (on Windows after waiting for other programs' handles, as a replace does) or
// something else than a plain file has taken the name.
SystemFilePointer OpenForWritingInPlace(const std::string& path, SystemError& error);
SystemError LengthOf(SystemFile& file, std::uint64_t& length);
SystemError WriteAt(SystemFile& file, std::uint64_t offset, const char* bytes, std::size_t count);
SystemError SetLength(SystemFile& file, std::uint64_t length);
SystemError FlushToDisk(SystemFile& file);
