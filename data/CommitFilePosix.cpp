#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"
#include "data/TilesetFileFormat.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's own limit on links followed in one lookup.
const int MAX_LINK_HOPS = 40;
const mode_t PERMISSION_BITS = 07777;
const mode_t NEW_FILE_MODE = 0666;

class ScopedFileDescriptor {
public:
    explicit ScopedFileDescriptor(int descriptor) : descriptor(descriptor) {}
    ~ScopedFileDescriptor()
    {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
    ScopedFileDescriptor(const ScopedFileDescriptor&) = delete;
    ScopedFileDescriptor& operator=(const ScopedFileDescriptor&) = delete;

    int Get() const { return descriptor; }
    // Closes now, for the close's own result: some file systems report a failed write only there.
    int Close()
    {
        const int result = close(descriptor);
        descriptor = -1;
        return result;
    }

private:
    int descriptor;
};

// The permissions of the target, or what a new file gets where there is none.
bool KeepPermissions(const std::string& targetPath, int tempFile)
{
    struct stat target {};
    return stat(targetPath.c_str(), &target) != 0 || fchmod(tempFile, target.st_mode & PERMISSION_BITS) == 0;
}

bool WriteAll(int file, const std::string& bytes)
{
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t done = write(file, bytes.data() + written, NextPieceSize(bytes, written));
        if (done < 0 && errno != EINTR) {
            return false;
        }
        written += done > 0 ? static_cast<std::size_t>(done) : 0;
    }
    return true;
}

// The descriptor is closed before a failed file is removed.
int WriteAndSync(const std::string& path, const std::string& targetPath, const std::string& bytes, bool& created)
{
    ScopedFileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE));
    created = file.Get() >= 0;
    if (!created) {
        return errno;
    }
    if (!KeepPermissions(targetPath, file.Get()) || !WriteAll(file.Get(), bytes) || fsync(file.Get()) != 0 ||
        file.Close() != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

} // namespace

std::string ReplacedFilePath(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path target = path;
    std::error_code error;
    for (int hop = 0; hop < MAX_LINK_HOPS && fs::is_symlink(target, error); ++hop) {
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

NewFileWrite WriteNewFile(const std::string& path, const std::string& targetPath, const std::string& bytes)
{
    bool created = false;
    const int error = WriteAndSync(path, targetPath, bytes, created);
    if (error == 0) {
        return {NEW_FILE_WRITTEN, {}};
    }
    if (created) {
        unlink(path.c_str());
    }
    return {!created && error == EEXIST ? NEW_FILE_NAME_TAKEN : NEW_FILE_FAILED,
            TilesetFileFormat::SystemErrorText(error)};
}

unsigned long CurrentProcessId()
{
    return static_cast<unsigned long>(getpid());
}

FileCommitResult CommitFile(const std::string& tempPath, const std::string& targetPath)
{
    std::error_code error;
    std::filesystem::rename(tempPath, targetPath, error);
    if (error) {
        return {false, error.message()};
    }
    return {true, {}};
}
