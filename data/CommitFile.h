#pragma once

#include <string>

struct TempFileResult {
    bool written;
    std::string path;
    // The system's words for a failure.
    std::string reason;
};

struct FileCommitResult {
    bool done;
    // The system's words for a failure.
    std::string reason;
};

// The file that replacing path replaces: where the symbolic links at path end,
// or path itself. Replacing a link itself would turn it into a plain file.
std::string ReplacedFilePath(const std::string& path);

// Writes bytes to a new file beside targetPath, with the attributes (on POSIX
// systems the permissions) of targetPath, and flushes it to disk through the
// handle that wrote it. Its name is one that no file has yet: it never opens an
// existing file, so it can neither clobber a file of the user's nor reuse one
// left behind by a save that was cut off. A failed write leaves no file.
TempFileResult WriteTempFile(const std::string& targetPath, const std::string& bytes);

// Puts the file at tempPath in place of targetPath in one step, so that
// targetPath is either the old file or the new one. Other programs' handles on
// either file are waited out for about a second. On failure tempPath is left
// for the caller to remove.
FileCommitResult CommitFile(const std::string& tempPath, const std::string& targetPath);
