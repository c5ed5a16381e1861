#pragma once

#include <string>

enum FileCommitStep {
    FILE_COMMIT_DONE,
    FILE_COMMIT_FLUSH_FAILED,
    FILE_COMMIT_REPLACE_FAILED,
};

struct FileCommitResult {
    FileCommitStep step;
    // The system's words for a failure.
    std::string reason;
};

// Flushes the closed file at tempPath to disk, then puts it in place of
// targetPath in one step, so that targetPath is either the old file or the new
// one. On failure tempPath is left for the caller to remove.
FileCommitResult CommitFile(const std::string& tempPath, const std::string& targetPath);
