#pragma once

#include <cstddef>
#include <memory>
#include <string>

enum FileCommitStatus {
    FILE_COMMIT_DONE,
    // The new bytes could not be written beside the target; it was not touched.
    FILE_COMMIT_WRITE_FAILED,
    // The target could not be replaced, nor opened for writing into it; it was not touched.
    FILE_COMMIT_REPLACE_FAILED,
    // Writing into the target failed on the way: it may hold part of the new bytes.
    FILE_COMMIT_PARTLY_WRITTEN,
    // The target was replaced, but the system could not confirm that the change is on the disk.
    FILE_COMMIT_NOT_CONFIRMED,
};

struct FileCommitResult {
    FileCommitStatus status;
    // The system's words for a failure.
    std::string reason;
};

// The system's handle on a temporary file; each system's half defines it.
struct SystemFile;
struct SystemFileCloser {
    void operator()(SystemFile* file) const;
};
using SystemFilePointer = std::unique_ptr<SystemFile, SystemFileCloser>;

// A save's new bytes in a file of their own beside the target, flushed to disk
// and held open until the object goes: on POSIX systems under a lock, on
// Windows without delete sharing, so that another save never takes it for a
// leftover. Unless it was put in place, it is removed when the object goes.
class TempFile {
public:
    // A file that could not be written, with the system's words for why.
    explicit TempFile(std::string reason);
    TempFile(std::string path, SystemFilePointer file, bool keepsOwnership);
    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&&) = delete;
    ~TempFile();

    bool Written() const;
    const std::string& Path() const;
    const std::string& Reason() const;
    // True when the file has the target's owner, group and permissions (on
    // Windows its security, as far as the system lets a new file have them),
    // or there is no target, so that it may take the target's place.
    bool KeepsOwnership() const;
    // Leaves the file where it is when the object goes.
    void Keep();

private:
    friend FileCommitResult CommitFile(TempFile& temp, const std::string& targetPath);
    friend FileCommitResult MarkWhole(TempFile& temp, const std::string& wholePath);

    std::string path;
    std::string reason;
    SystemFilePointer file;
    bool keepsOwnership = false;
    bool committed = false;
};

// The file that replacing path replaces: where the symbolic links at path end,
// or path itself. Replacing a link itself would turn it into a plain file; so
// a link whose end is missing gives the path of that end, and empty where the
// system can neither tell it nor create it (on Windows, in a folder that does
// not exist).
std::string ReplacedFilePath(const std::string& path);
// Why a save refuses a path whose replaced file is empty.
inline constexpr char UNREACHABLE_LINK_END[] = "is a link to a missing file that cannot be created";

// The points of a save that leave different files behind when it is cut off
// there; a test stops a save at one of them, as a crash would.
enum SaveStage {
    SAVE_STAGE_COPY_PART_WRITTEN,
    SAVE_STAGE_COPY_MARKED_WHOLE,
    SAVE_STAGE_IN_PLACE_PART_WRITTEN,
    SAVE_STAGE_IN_PLACE_FLUSHED,
};
using SaveStageHook = void (*)(SaveStage stage);

// Gives the file at targetPath the new bytes, so that it is either the old file
// or the new one whenever the system can make it so: the bytes go to a
// temporary file beside it, which takes its place in one step. Where the new
// file could not be the old one in every way other programs see (a file of
// several names, or one whose owner, group or permissions a new file cannot
// have), the bytes are written into the old file instead, once they are safely
// in the temporary file, which is first renamed to the whole copy's name and
// stays until that write is flushed: a save cut off on the way leaves it for
// the next load to offer. Leftovers of saves that were cut off are removed
// first, and after a replace the whole copy of an earlier save too. reached,
// where given, is called at each stage, and the writes are split there.
FileCommitResult SaveFileContent(const std::string& targetPath, const std::string& bytes,
                                 SaveStageHook reached = nullptr);

// Writes bytes to a new temporary file beside targetPath, created with the
// attributes and permissions (on Windows the security) of targetPath, and
// flushes it to disk. Its name is one that no file has yet: it never opens an
// existing file. A failed write leaves no file.
TempFile WriteTempFile(const std::string& targetPath, const std::string& bytes);

// Puts the temporary file in place of targetPath in one step, so that
// targetPath is either the old file or the new one, and flushes that change to
// disk. Other programs' handles on the target are waited out for about a second.
FileCommitResult CommitFile(TempFile& temp, const std::string& targetPath);

// Writes bytes into the file at targetPath itself, flushed to disk, so that it
// keeps its names, owner and permissions. The bytes beyond its old end are
// written first, so that a full disk leaves it as it was.
FileCommitResult WriteInPlace(const std::string& targetPath, const std::string& bytes,
                              SaveStageHook reached = nullptr);

// Renames the temporary file to wholePath, replacing what has that name, and
// flushes that change to disk, so that it tells itself from a file cut short.
FileCommitResult MarkWhole(TempFile& temp, const std::string& wholePath);

// Where a save that writes into the file at targetPath keeps the whole new
// bytes until that write is flushed; empty where the folder's path leaves no
// room for the name.
std::string WholeCopyPath(const std::string& targetPath);
// Reads at most limit bytes and one more of the whole copy of targetPath, if
// one is there that no running save holds: a plain file of that name, never
// what a link of that name leads to.
bool ReadWholeCopy(const std::string& targetPath, std::size_t limit, std::string& bytes);
// Removes the whole copy of targetPath that no running save holds, if any.
void RemoveWholeCopy(const std::string& targetPath);

// Removes the temporary files of targetPath that no running save holds: those
// left by saves that were cut off.
void RemoveLeftoverTempFiles(const std::string& targetPath);

// The name of a temporary file of the file named targetName: the target's name
// with the process id, which keeps two running saves apart, and the attempt,
// which steps past names that are taken. The target's name is shortened, never
// in the middle of a UTF-8 character, to keep the whole within nameLimit
// bytes; empty where even that leaves no room.
std::string TempFileName(const std::string& targetName, unsigned long processId, int attempt, std::size_t nameLimit);

// The name of the whole copy of the file named targetName: the target's name,
// shortened as TempFileName shortens it, and a fixed ending.
std::string WholeCopyName(const std::string& targetName, std::size_t nameLimit);

// True for a name TempFileName gives for targetName, whatever the process and attempt.
bool IsTempFileNameOf(const std::string& name, const std::string& targetName, std::size_t nameLimit);
