#include "data/CommitFile.h"

#ifdef _WIN32

#include <windows.h>

namespace {

const int REPLACE_ATTEMPTS = 10;
const DWORD REPLACE_RETRY_DELAY_MS = 50;

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

// A virus scanner or an indexer may hold the file for a moment.
bool IsTransientReplaceError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

} // namespace

FileCommitResult CommitFile(const std::string& tempPath, const std::string& targetPath)
{
    {
        const ScopedFileHandle file(CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Get() == INVALID_HANDLE_VALUE || !FlushFileBuffers(file.Get())) {
            return {FILE_COMMIT_FLUSH_FAILED, SystemReason(GetLastError())};
        }
    }
    // Not ReplaceFileA: without a backup name Wine's deletes the target before moving the new file in.
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(tempPath.c_str(), targetPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return {FILE_COMMIT_DONE, {}};
        }
        const DWORD error = GetLastError();
        if (attempt == REPLACE_ATTEMPTS || !IsTransientReplaceError(error)) {
            return {FILE_COMMIT_REPLACE_FAILED, SystemReason(error)};
        }
        Sleep(REPLACE_RETRY_DELAY_MS);
    }
}

#else

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace {

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

private:
    int descriptor;
};

} // namespace

FileCommitResult CommitFile(const std::string& tempPath, const std::string& targetPath)
{
    {
        const ScopedFileDescriptor file(open(tempPath.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.Get() < 0 || fsync(file.Get()) != 0) {
            return {FILE_COMMIT_FLUSH_FAILED, std::generic_category().message(errno)};
        }
    }
    std::error_code error;
    std::filesystem::rename(tempPath, targetPath, error);
    if (error) {
        return {FILE_COMMIT_REPLACE_FAILED, error.message()};
    }
    return {FILE_COMMIT_DONE, {}};
}

#endif
