#pragma once

#include "data/FileKind.h"
#include "data/SystemFile.h"

#include <string>
#include <system_error>

// Whether this user may change a file, as a save must know before it writes
// anything: a rename over a file succeeds on POSIX systems and under Wine
// whatever the file's own permissions say.
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

// What a save must know of the file it is to write, looked at once before it
// writes anything.
struct FileTarget {
    // The file that a save replaces: where the symbolic links at the path end,
    // or the path itself. Replacing a link itself would turn it into a plain
    // file; so a link whose end is missing gives the path of that end, and
    // empty where the system can neither tell it nor create it (on Windows, in
    // a folder that does not exist).
    std::string path;
    FileKind kind = FILE_KIND_MISSING;
    WriteAccess access = WRITE_ACCESS_ALLOWED;
    // More names than this one: hard links, which replacing the file would part from it.
    bool hasOtherNames = false;
    // A new file can be the old one in every way other programs see: its owner,
    // group and permissions, or on Windows its security; true where there is no file.
    bool newFileCanMatch = true;
    FileLikeness likeness;
    // Why the likeness could not be read: a save then fails, rather than give
    // the new file the folder's defaults, which may let more people in.
    std::error_code likenessError;
};

FileTarget LookAtTarget(const std::string& path);
// The path of FileTarget alone, for what only needs to know where the file is.
std::string EndOfLinks(const std::string& path);
