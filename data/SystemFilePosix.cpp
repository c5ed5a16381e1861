#include "data/SystemFile.h"

#include "data/FilePath.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const mode_t PERMISSION_BITS = 07777;
const mode_t NEW_FILE_MODE = 0666;
// What the system promises where it names no limit.
const std::size_t USUAL_NAME_LIMIT = 255;
const std::size_t WRITE_PIECE_LIMIT = 1 << 20;

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

std::error_code Checked(int result)
{
    return result == 0 ? std::error_code() : LastError();
}

// The lock marks the file as a running save's. A clean-up that removed the
// file between its creation and the lock has the lock or has left no name. A
// file system that keeps no locks lets no clean-up take the file either.
bool HoldAsOwn(int file)
{
    if (flock(file, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        return false;
    }
    struct stat status {};
    return fstat(file, &status) == 0 && status.st_nlink > 0;
}

// Only the owner's bits until the owner and group are the target's, so that no
// one else opens the file in between and reads the bytes written later.
int CreateNewFile(const std::string& path, const FileLikeness& likeness)
{
    const mode_t mode = likeness.exists ? (likeness.mode & S_IRWXU) : NEW_FILE_MODE;
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

// Root may give the file any owner and group, the target's owner a group of
// theirs; whatever the system refused shows in the comparison.
std::error_code TakeLikeness(int file, const FileLikeness& likeness, bool& matched)
{
    matched = true;
    if (!likeness.exists) {
        return {};
    }
    static_cast<void>(fchown(file, likeness.owner, likeness.group));
    struct stat status {};
    if (fchmod(file, likeness.mode & PERMISSION_BITS) != 0 || fstat(file, &status) != 0) {
        return LastError();
    }
    matched = status.st_uid == likeness.owner && status.st_gid == likeness.group &&
              (status.st_mode & PERMISSION_BITS) == (likeness.mode & PERMISSION_BITS);
    return {};
}

std::string FolderOrCurrent(const std::string& path)
{
    const std::string folder = FilePath::FolderOf(path);
    return folder.empty() ? "." : folder;
}

// A folder's entry changes reach the disk only when the folder is flushed.
// File systems that cannot flush a folder say so with EINVAL: there is nothing to confirm.
std::error_code FlushFolder(const std::string& folder)
{
    const int file = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file < 0) {
        return LastError();
    }
    const std::error_code error = fsync(file) == 0 || errno == EINVAL ? std::error_code() : LastError();
    close(file);
    return error;
}

// Opened without following a link and without waiting, as for a leftover.
int OpenNoFollow(const std::string& path)
{
    return open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}

} // namespace

SystemFile::SystemFile() : handle(-1)
{
}

SystemFile::SystemFile(NativeFileHandle handle) : handle(handle)
{
}

SystemFile::SystemFile(SystemFile&& other) noexcept : handle(other.handle)
{
    other.handle = -1;
}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept
{
    std::swap(handle, other.handle);
    return *this;
}

SystemFile::~SystemFile()
{
    if (handle >= 0) {
        close(handle);
    }
}

bool SystemFile::IsOpen() const
{
    return handle >= 0;
}

std::error_code SystemFile::CreateHeld(const std::string& path, const FileLikeness& likeness, SystemFile& file,
                                       bool& matched)
{
    SystemFile created(CreateNewFile(path, likeness));
    if (!created.IsOpen()) {
        return LastError();
    }
    if (!HoldAsOwn(created.handle)) {
        return std::make_error_code(std::errc::file_exists);
    }
    const std::error_code error = TakeLikeness(created.handle, likeness, matched);
    if (error) {
        created.Remove(path);
        return error;
    }
    file = std::move(created);
    return {};
}

// Opened without waiting, as something else may have taken the name since the
// save looked: a named pipe would wait for a reader.
std::error_code SystemFile::OpenForWritingInPlace(const std::string& path, SystemFile& file)
{
    SystemFile opened(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!opened.IsOpen() || fstat(opened.handle, &status) != 0) {
        return LastError();
    }
    if (!S_ISREG(status.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    file = std::move(opened);
    return {};
}

// A running save's lock keeps out even a shared one.
SystemFile SystemFile::OpenUnheldForReading(const std::string& path)
{
    SystemFile file(OpenNoFollow(path));
    struct stat status {};
    if (!file.IsOpen() || flock(file.handle, LOCK_SH | LOCK_NB) != 0 || fstat(file.handle, &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        return {};
    }
    return file;
}

// The name may have gone to a new file of a running save since it was opened,
// so only the very file that is locked here is removed.
UnheldFile SystemFile::RemoveUnheld(const std::string& path)
{
    const SystemFile file(OpenNoFollow(path));
    if (!file.IsOpen()) {
        return errno == ENOENT ? UNHELD_FILE_NONE : UNHELD_FILE_FOREIGN;
    }
    if (flock(file.handle, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? UNHELD_FILE_HELD : UNHELD_FILE_FOREIGN;
    }
    struct stat held {};
    struct stat named {};
    if (fstat(file.handle, &held) != 0 || lstat(path.c_str(), &named) != 0 || !S_ISREG(held.st_mode)) {
        return UNHELD_FILE_FOREIGN;
    }
    if (held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        return UNHELD_FILE_HELD;
    }
    unlink(path.c_str());
    return UNHELD_FILE_LEFT;
}

std::error_code SystemFile::Length(std::uint64_t& length) const
{
    struct stat status {};
    if (fstat(handle, &status) != 0) {
        return LastError();
    }
    length = static_cast<std::uint64_t>(status.st_size);
    return {};
}

// A write that takes no byte and gives no reason would otherwise be tried for ever.
std::error_code SystemFile::WriteAt(std::uint64_t offset, const char* bytes, std::size_t count) const
{
    for (std::size_t written = 0; written < count;) {
        const std::size_t piece = std::min(count - written, WRITE_PIECE_LIMIT);
        const ssize_t done = pwrite(handle, bytes + written, piece, static_cast<off_t>(offset + written));
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return done == 0 ? std::make_error_code(std::errc::io_error) : LastError();
        }
        written += static_cast<std::size_t>(done);
    }
    return {};
}

std::error_code SystemFile::SetLength(std::uint64_t length) const
{
    return Checked(ftruncate(handle, static_cast<off_t>(length)));
}

std::error_code SystemFile::Flush() const
{
    return Checked(fsync(handle));
}

std::error_code SystemFile::ReadSome(char* bytes, std::size_t count, std::size_t& done) const
{
    ssize_t read = 0;
    do {
        read = ::read(handle, bytes, std::min(count, WRITE_PIECE_LIMIT));
    } while (read < 0 && errno == EINTR);
    done = read > 0 ? static_cast<std::size_t>(read) : 0;
    return read < 0 ? LastError() : std::error_code();
}

std::error_code SystemFile::RenameTo(const std::string& path, const std::string& newPath) const
{
    return Checked(rename(path.c_str(), newPath.c_str()));
}

std::error_code SystemFile::FlushName(const std::string& path) const
{
    return FlushFolder(FolderOrCurrent(path));
}

// Removed while still locked, so that no clean-up takes a new file of the same name for it.
void SystemFile::Remove(const std::string& path) const
{
    unlink(path.c_str());
}

std::size_t NameLengthLimit(const std::string& folder)
{
    const long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : USUAL_NAME_LIMIT;
}
