#pragma once

#include <string>

// What a path names, following its symbolic links to their end. Only a plain
// file is read as a table or replaced by a save; a missing one may be created.
enum FileKind {
    FILE_KIND_MISSING,
    FILE_KIND_PLAIN,
    FILE_KIND_FOLDER,
    FILE_KIND_PIPE,
    FILE_KIND_DEVICE,
    FILE_KIND_SOCKET,
    // Links that lead back to themselves, or more of them than the system follows.
    FILE_KIND_LINK_LOOP,
    // The path could not be looked up, or names something else.
    FILE_KIND_OTHER,
};

FileKind KindOfFile(const std::string& path);

// True when another program holds the file at path open so that it cannot be
// read (on Windows, a handle that shares no reading, as some games, backup
// programs and editors hold theirs), after waiting about a second for it to
// let go, as a save waits before it replaces a file.
bool IsHeldByAnotherProgram(const std::string& path);

// A few words for a kind that is neither read nor replaced, e.g. "is a named
// pipe, not a file"; empty for a plain or missing file.
std::string RefusedKindReason(FileKind kind);
