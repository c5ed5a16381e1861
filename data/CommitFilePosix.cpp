#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"
#include "data/FileFailure.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's own limit on links followed in one lookup.
const int MAX_LINK_HOPS = 40;
const mode_t PERMISSION_BITS = 07777;
const mode_t NEW_FILE_MODE = 0666;
// What the system promises where it names no limit.
const std::size_t USUAL_NAME_LIMIT = 255;

class ScopedFileDescriptor {
public:
    explicit ScopedFileDescriptor(int descriptor) : descriptor(descriptor) {}
    ScopedFileDescriptor(ScopedFileDescriptor&& other) noexcept : descriptor(other.descriptor)
    {
        other.descriptor = -1;
    }
    ~ScopedFileDescriptor()
    {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
    ScopedFileDescriptor(const ScopedFileDescriptor&) = delete;
    ScopedFileDescriptor& operator=(const ScopedFileDescriptor&) = delete;
    ScopedFileDescriptor& operator=(ScopedFileDescriptor&&) = delete;

    int Get() const { return descriptor; }

private:
    int descriptor;
};

class ScopedFolder {
public:
    explicit ScopedFolder(const std::string& path) : folder(opendir(path.empty() ? "." : path.c_str())) {}
    ~ScopedFolder()
    {
        if (folder != nullptr) {
            closedir(folder);
        }
    }
    ScopedFolder(const ScopedFolder&) = delete;
    ScopedFolder& operator=(const ScopedFolder&) = delete;

    DIR* Get() const { return folder; }

private:
    DIR* folder;
};

std::string FolderPath(const std::string& path)
{
    const std::string folder = SplitPath(path).folder;
    return folder.empty() ? "." : folder;
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
int CreateNewFile(const std::string& path, const struct stat* target)
{
    const mode_t mode = target != nullptr ? (target->st_mode & S_IRWXU) : NEW_FILE_MODE;
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

// Root may give the file any owner and group, the target's owner a group of
// theirs; whatever the system refused shows in the comparison.
bool TakeOwnership(int file, const struct stat& target, bool& kept)
{
    static_cast<void>(fchown(file, target.st_uid, target.st_gid));
    struct stat status {};
    if (fchmod(file, target.st_mode & PERMISSION_BITS) != 0 || fstat(file, &status) != 0) {
        return false;
    }
    kept = status.st_uid == target.st_uid && status.st_gid == target.st_gid &&
           (status.st_mode & PERMISSION_BITS) == (target.st_mode & PERMISSION_BITS);
    return true;
}

// A folder's entry changes reach the disk only when the folder is flushed.
// File systems that cannot flush a folder say so with EINVAL: there is nothing to confirm.
SystemError FlushFolder(const std::string& folder)
{
    const ScopedFileDescriptor file(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (file.Get() < 0) {
        return static_cast<SystemError>(errno);
    }
    return fsync(file.Get()) == 0 || errno == EINVAL ? 0 : static_cast<SystemError>(errno);
}

// The name may have gone to a new file of a running save since it was opened,
// so only the very file that is locked here is removed.
void RemoveIfUnheld(int folder, const char* name)
{
    const ScopedFileDescriptor file(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat held {};
    struct stat named {};
    if (file.Get() < 0 || flock(file.Get(), LOCK_EX | LOCK_NB) != 0 || fstat(file.Get(), &held) != 0 ||
        fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0) {
        return;
    }
    if (S_ISREG(held.st_mode) && held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        unlinkat(folder, name, 0);
    }
}

} // namespace

struct SystemFile {
    ScopedFileDescriptor descriptor;
};

namespace {

SystemFilePointer Held(ScopedFileDescriptor file)
{
    return SystemFilePointer(new SystemFile{std::move(file)});
}

SystemError FillNewFile(SystemFile& file, const struct stat* target, bool& keepsOwnership)
{
    keepsOwnership = true;
    if (target != nullptr && !TakeOwnership(file.descriptor.Get(), *target, keepsOwnership)) {
        return static_cast<SystemError>(errno);
    }
    return 0;
}

} // namespace

const char PATH_SEPARATORS[] = "/";

void SystemFileCloser::operator()(SystemFile* file) const
{
    delete file;
}

// Removed while still locked, so that no clean-up takes a new file of the same name for it.
void RemoveHeldFile(SystemFile&, const std::string& path)
{
    unlink(path.c_str());
}

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

NewFile CreateHeldFile(const std::string& path, const std::string& targetPath)
{
    struct stat targetStatus {};
    const struct stat* target = stat(targetPath.c_str(), &targetStatus) == 0 ? &targetStatus : nullptr;
    ScopedFileDescriptor file(CreateNewFile(path, target));
    if (file.Get() < 0) {
        const int error = errno;
        return {error == EEXIST ? NEW_FILE_NAME_TAKEN : NEW_FILE_FAILED, SystemErrorReason(error), nullptr, false};
    }
    if (!HoldAsOwn(file.Get())) {
        return {NEW_FILE_NAME_TAKEN, {}, nullptr, false};
    }
    SystemFilePointer held = Held(std::move(file));
    bool keepsOwnership = false;
    const SystemError error = FillNewFile(*held, target, keepsOwnership);
    if (error != 0) {
        unlink(path.c_str());
        return {NEW_FILE_FAILED, SystemErrorReason(error), nullptr, false};
    }
    return {NEW_FILE_CREATED, {}, std::move(held), keepsOwnership};
}

SystemError RenameHeldFile(SystemFile&, const std::string& path, const std::string& newPath)
{
    return rename(path.c_str(), newPath.c_str()) == 0 ? 0 : static_cast<SystemError>(errno);
}

SystemError FlushRename(SystemFile&, const std::string& newPath)
{
    return FlushFolder(FolderPath(newPath));
}

// Opened without following a link and without waiting, as for a leftover; a
// running save's lock keeps out even a shared one.
SystemFilePointer OpenUnheldForReading(const std::string& path)
{
    ScopedFileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0 || flock(file.Get(), LOCK_SH | LOCK_NB) != 0 || fstat(file.Get(), &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        return nullptr;
    }
    return Held(std::move(file));
}

void RemoveUnheldFile(const std::string& path)
{
    const ScopedFileDescriptor folder(open(FolderPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) {
        RemoveIfUnheld(folder.Get(), SplitPath(path).name.c_str());
    }
}

unsigned long CurrentProcessId()
{
    return static_cast<unsigned long>(getpid());
}

std::size_t NameLengthLimit(const std::string& folder)
{
    const long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : USUAL_NAME_LIMIT;
}

bool HasOtherNames(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && status.st_nlink > 1;
}

// Opened without waiting, as something else may have taken the name since the
// save looked: a named pipe would wait for a reader.
SystemFilePointer OpenForWritingInPlace(const std::string& path, SystemError& error)
{
    ScopedFileDescriptor file(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0 || fstat(file.Get(), &status) != 0) {
        error = static_cast<SystemError>(errno);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        error = EINVAL;
        return nullptr;
    }
    return Held(std::move(file));
}

SystemError LengthOf(SystemFile& file, std::uint64_t& length)
{
    struct stat status {};
    if (fstat(file.descriptor.Get(), &status) != 0) {
        return static_cast<SystemError>(errno);
    }
    length = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

// A write that takes no byte and gives no reason would otherwise be tried for ever.
SystemError WriteAt(SystemFile& file, std::uint64_t offset, const char* bytes, std::size_t count)
{
    for (std::size_t written = 0; written < count;) {
        const ssize_t done = pwrite(file.descriptor.Get(), bytes + written, NextPieceSize(count, written),
                                    static_cast<off_t>(offset + written));
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return done == 0 ? EIO : static_cast<SystemError>(errno);
        }
        written += static_cast<std::size_t>(done);
    }
    return 0;
}

SystemError SetLength(SystemFile& file, std::uint64_t length)
{
    return ftruncate(file.descriptor.Get(), static_cast<off_t>(length)) == 0 ? 0 : static_cast<SystemError>(errno);
}

SystemError ReadSome(SystemFile& file, char* bytes, std::size_t count, std::size_t& done)
{
    ssize_t read = 0;
    do {
        read = ::read(file.descriptor.Get(), bytes, NextPieceSize(count, 0));
    } while (read < 0 && errno == EINTR);
    done = read > 0 ? static_cast<std::size_t>(read) : 0;
    return read < 0 ? static_cast<SystemError>(errno) : 0;
}

SystemError FlushToDisk(SystemFile& file)
{
    return fsync(file.descriptor.Get()) == 0 ? 0 : static_cast<SystemError>(errno);
}

std::string SystemErrorReason(SystemError error)
{
    return SystemErrorText(static_cast<int>(error));
}

void RemoveLeftoverTempFiles(const std::string& targetPath)
{
    const PathParts parts = SplitPath(targetPath);
    const ScopedFolder folder(parts.folder);
    if (folder.Get() == nullptr) {
        return;
    }
    const std::size_t nameLimit = NameLengthLimit(parts.folder);
    while (const dirent* entry = readdir(folder.Get())) {
        if (IsTempFileNameOf(entry->d_name, parts.name, nameLimit)) {
            RemoveIfUnheld(dirfd(folder.Get()), entry->d_name);
        }
    }
}
