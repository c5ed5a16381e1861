#include "data/CommitFile.h"

#include <algorithm>
#include <cstddef>

namespace {

const int TEMP_NAME_ATTEMPTS = 100;
// Writes larger than this are split, so that each fits the system's 32-bit count.
const std::size_t WRITE_PIECE_LIMIT = 1 << 20;

// The process id keeps two running editors apart; the attempt steps past names
// that are taken, by a file of the user's or one left by a save cut off.
std::string TempFileName(const std::string& targetPath, unsigned long processId, int attempt)
{
    return targetPath + "." + std::to_string(processId) + "-" + std::to_string(attempt) + ".tmp";
}

std::size_t NextPieceSize(const std::string& bytes, std::size_t written)
{
    return std::min(bytes.size() - written, WRITE_PIECE_LIMIT);
}

TempFileResult NoFreeTempName()
{
    return {false, {}, "every name tried for a temporary file is taken"};
}

} // namespace

#ifdef _WIN32

#include <windows.h>

namespace {

// Virus scanners, indexers and backup programs open a file for a moment; they
// are waited out for this long.
const ULONGLONG SHARING_WAIT_LIMIT_MS = 1000;
const DWORD SHARING_RETRY_DELAY_MS = 50;
// What a replace on Windows keeps. Read-only is refused before a save, and the
// archive bit is set, as the content has changed.
const DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
const char LONG_PATH_PREFIX[] = "\\\\?\\";

class ScopedFileHandle {
public:
    explicit ScopedFileHandle(HANDLE handle) : handle(handle) {}
    ~ScopedFileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    ScopedFileHandle(const ScopedFileHandle&) = delete;
    ScopedFileHandle& operator=(const ScopedFileHandle&) = delete;

    HANDLE Get() const { return handle; }

private:
    HANDLE handle;
};

struct NewFileWrite {
    bool created;
    DWORD error;
};

std::string SystemReason(DWORD error)
{
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                        0, text, sizeof text, nullptr);
    return length != 0 ? std::string(text, length) : "system error " + std::to_string(error);
}

// Another program's handle. Wine refuses a replace of a file held open with
// access denied, and so does Windows while a deleted file is still open.
bool IsSharingError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool IsNameTaken(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// The path without the long-path prefix where it names a file on a drive.
std::string WithoutLongPathPrefix(const std::string& path)
{
    const std::size_t prefixLength = sizeof LONG_PATH_PREFIX - 1;
    const bool onDrive = path.compare(0, prefixLength, LONG_PATH_PREFIX) == 0 && path.size() > prefixLength + 1 &&
                         path[prefixLength + 1] == ':';
    return onDrive ? path.substr(prefixLength) : path;
}

DWORD KeptAttributes(const std::string& targetPath)
{
    const DWORD attributes = GetFileAttributesA(targetPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & KEPT_ATTRIBUTES) == 0) {
        return FILE_ATTRIBUTE_NORMAL;
    }
    return (attributes & KEPT_ATTRIBUTES) | FILE_ATTRIBUTE_ARCHIVE;
}

// Wine's WriteFile to a full disk writes what fits and reports success; only
// the write of the rest fails, with the reason.
DWORD WriteAll(HANDLE file, const std::string& bytes)
{
    for (std::size_t written = 0; written < bytes.size();) {
        DWORD done = 0;
        if (!WriteFile(file, bytes.data() + written, static_cast<DWORD>(NextPieceSize(bytes, written)), &done,
                       nullptr)) {
            return GetLastError();
        }
        if (done == 0) {
            return ERROR_WRITE_FAULT;
        }
        written += done;
    }
    return ERROR_SUCCESS;
}

NewFileWrite WriteNewFile(const std::string& tempPath, DWORD attributes, const std::string& bytes)
{
    const ScopedFileHandle file(
        CreateFileA(tempPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, attributes, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        return {false, GetLastError()};
    }
    const DWORD error = WriteAll(file.Get(), bytes);
    if (error != ERROR_SUCCESS) {
        return {true, error};
    }
    return {true, FlushFileBuffers(file.Get()) ? ERROR_SUCCESS : GetLastError()};
}

// Not ReplaceFileA: without a backup name Wine's deletes the target before moving the new file in.
DWORD MoveInPlace(const std::string& tempPath, const std::string& targetPath)
{
    return MoveFileExA(tempPath.c_str(), targetPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

} // namespace

// Opening the file follows every link to its end, and the handle knows where
// that is; asking for no access leaves other programs' handles in peace.
std::string ReplacedFilePath(const std::string& path)
{
    const ScopedFileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        return path;
    }
    // Asked for the size alone, Wine's answer leaves out the NUL; so the second
    // call gets a buffer one longer than the first answer.
    std::string finalPath(MAX_PATH, '\0');
    for (int call = 0; call < 2; ++call) {
        const DWORD length = GetFinalPathNameByHandleA(file.Get(), &finalPath[0], static_cast<DWORD>(finalPath.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return path;
        }
        if (length < finalPath.size()) {
            finalPath.resize(length);
            return WithoutLongPathPrefix(finalPath);
        }
        finalPath.resize(length + 1);
    }
    return path;
}

TempFileResult WriteTempFile(const std::string& targetPath, const std::string& bytes)
{
    const DWORD attributes = KeptAttributes(targetPath);
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        const std::string tempPath = TempFileName(targetPath, GetCurrentProcessId(), attempt);
        const NewFileWrite write = WriteNewFile(tempPath, attributes, bytes);
        if (write.error == ERROR_SUCCESS) {
            return {true, tempPath, {}};
        }
        if (write.created) {
            DeleteFileA(tempPath.c_str());
        }
        if (write.created || !IsNameTaken(write.error)) {
            return {false, {}, SystemReason(write.error)};
        }
    }
    return NoFreeTempName();
}

FileCommitResult CommitFile(const std::string& tempPath, const std::string& targetPath)
{
    const ULONGLONG deadline = GetTickCount64() + SHARING_WAIT_LIMIT_MS;
    for (;;) {
        const DWORD error = MoveInPlace(tempPath, targetPath);
        if (error == ERROR_SUCCESS) {
            return {true, {}};
        }
        if (!IsSharingError(error) || GetTickCount64() + SHARING_RETRY_DELAY_MS > deadline) {
            return {false, SystemReason(error)};
        }
        Sleep(SHARING_RETRY_DELAY_MS);
    }
}

#else

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

struct NewFileWrite {
    bool created;
    int error;
};

std::string SystemReason(int error)
{
    return std::generic_category().message(error);
}

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

NewFileWrite WriteNewFile(const std::string& tempPath, const std::string& targetPath, const std::string& bytes)
{
    ScopedFileDescriptor file(open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE));
    if (file.Get() < 0) {
        return {false, errno};
    }
    if (!KeepPermissions(targetPath, file.Get()) || !WriteAll(file.Get(), bytes) || fsync(file.Get()) != 0 ||
        file.Close() != 0) {
        return {true, errno};
    }
    return {true, 0};
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

TempFileResult WriteTempFile(const std::string& targetPath, const std::string& bytes)
{
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        const std::string tempPath = TempFileName(targetPath, static_cast<unsigned long>(getpid()), attempt);
        const NewFileWrite write = WriteNewFile(tempPath, targetPath, bytes);
        if (write.created && write.error == 0) {
            return {true, tempPath, {}};
        }
        if (write.created) {
            unlink(tempPath.c_str());
        }
        if (write.created || write.error != EEXIST) {
            return {false, {}, SystemReason(write.error)};
        }
    }
    return NoFreeTempName();
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

#endif
