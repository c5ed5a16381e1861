#pragma once

#include <string>

// What a file held when this program last read or wrote it: enough to tell a
// later change by another program, which may keep the size and the time.
struct FileSnapshot {
    bool exists = false;
    // A file that exists but could not be read now equals no snapshot.
    bool readable = true;
    // Another program holds the file so that it cannot be read: not a change, but no save either.
    bool held = false;
    // The file's bytes themselves, as much as the load reads: comparing them is
    // exact, and keeping them costs the load a move.
    std::string bytes;

    bool operator==(const FileSnapshot& other) const;
    bool operator!=(const FileSnapshot& other) const { return !(*this == other); }
};

enum DiskChange {
    DISK_UNCHANGED,
    DISK_CHANGED,
    // The file was missing and now exists.
    DISK_CREATED,
    DISK_DELETED,
    // Another program holds the file open, and what it holds cannot be told.
    DISK_HELD,
};

namespace FileSnapshots {

FileSnapshot Of(std::string bytes);
FileSnapshot Missing();
// Reads the file at path now, through its links; a file that another program
// holds is waited for, as IsHeldByAnotherProgram says.
FileSnapshot Read(const std::string& path);
DiskChange Compare(const FileSnapshot& remembered, const FileSnapshot& now);

} // namespace FileSnapshots
