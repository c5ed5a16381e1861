#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"

#include <string>

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

// The handle is closed before a failed file is removed.
DWORD WriteAndFlush(const std::string& path, DWORD attributes, const std::string& bytes, bool& created)
{
    const ScopedFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, attributes, nullptr));
    created = file.Get() != INVALID_HANDLE_VALUE;
    if (!created) {
        return GetLastError();
    }
    const DWORD error = WriteAll(file.Get(), bytes);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    return FlushFileBuffers(file.Get()) ? ERROR_SUCCESS : GetLastError();
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

NewFileWrite WriteNewFile(const std::string& path, const std::string& targetPath, const std::string& bytes)
{
    bool created = false;
    const DWORD error = WriteAndFlush(path, KeptAttributes(targetPath), bytes, created);
    if (error == ERROR_SUCCESS) {
        return {NEW_FILE_WRITTEN, {}};
    }
    if (created) {
        DeleteFileA(path.c_str());
    }
    return {!created && IsNameTaken(error) ? NEW_FILE_NAME_TAKEN : NEW_FILE_FAILED, SystemReason(error)};
}

unsigned long CurrentProcessId()
{
    return GetCurrentProcessId();
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
