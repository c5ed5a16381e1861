#pragma once

#include "data/CommitFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What each system's half of CommitFile gives the part they share, and back.

enum NewFileStatus {
    NEW_FILE_CREATED,
    // A file of that name exists, or another save's clean-up took it: another name is tried.
    NEW_FILE_NAME_TAKEN,
    NEW_FILE_FAILED,
};

struct NewFile {
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

// Creates the file at path, which must not exist yet, with the attributes and
// permissions WriteTempFile describes; the file stays held, and empty until
// the bytes are written. A failure removes it.
NewFile CreateHeldFile(const std::string& path, const std::string& targetPath);

// Removes the held file at path, which is still this save's own.
void RemoveHeldFile(SystemFile& file, const std::string& path);

// The plain file at path opened for reading, where no running save holds it;
// null where it is missing, held, a link or something else than a plain file.
SystemFilePointer OpenUnheldForReading(const std::string& path);
// Removes the plain file at path, never what a link leads to, unless a running save holds it.
void RemoveUnheldFile(const std::string& path);

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

// Renames the held file at path to newPath, replacing what has that name (on
// Windows after waiting for other programs' handles), and then flushes that
// change to disk where the system can.
SystemError RenameHeldFile(SystemFile& file, const std::string& path, const std::string& newPath);
SystemError FlushRename(SystemFile& file, const std::string& newPath);

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
// Reads at most count bytes where the last read ended; done is 0 at the end.
SystemError ReadSome(SystemFile& file, char* bytes, std::size_t count, std::size_t& done);
