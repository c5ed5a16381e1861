#include "data/FileKind.h"

#include "data/ScopedFileHandle.h"
#include "data/WindowsPath.h"

#include <windows.h>

namespace {

const ULONGLONG HOLD_WAIT_LIMIT_MS = 1000;
const DWORD HOLD_RETRY_DELAY_MS = 50;

bool IsHeldOnce(const std::string& path)
{
    const ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const DWORD error = file.IsOpen() ? ERROR_SUCCESS : GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

FileKind KindOfUnopened(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FILE_KIND_MISSING;
    // What Wine gives for Linux links that lead back to themselves.
    case ERROR_CANT_RESOLVE_FILENAME:
        return FILE_KIND_LINK_LOOP;
    default:
        return FILE_KIND_OTHER;
    }
}

} // namespace

bool IsHeldByAnotherProgram(const std::string& path)
{
    const ULONGLONG deadline = GetTickCount64() + HOLD_WAIT_LIMIT_MS;
    while (IsHeldOnce(path)) {
        if (GetTickCount64() + HOLD_RETRY_DELAY_MS > deadline) {
            return true;
        }
        Sleep(HOLD_RETRY_DELAY_MS);
    }
    return false;
}

// The C library here takes a device (NUL, or under Wine a link to /dev/null)
// or a named pipe for a missing file; the system's own type of an open handle
// tells them. Opening asks for no access, which neither waits for a pipe's
// writer nor disturbs other programs' handles.
FileKind KindOfFile(const std::string& path)
{
    const ScopedFileHandle file(WindowsPath::OpenForInfo(path));
    if (!file.IsOpen()) {
        return KindOfUnopened(GetLastError());
    }
    switch (GetFileType(file.Get())) {
    case FILE_TYPE_CHAR:
        return FILE_KIND_DEVICE;
    case FILE_TYPE_PIPE:
        return FILE_KIND_PIPE;
    case FILE_TYPE_DISK:
        break;
    default:
        return FILE_KIND_OTHER;
    }
    const DWORD attributes = WindowsPath::AttributesOf(file.Get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FILE_KIND_OTHER;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FILE_KIND_FOLDER : FILE_KIND_PLAIN;
}
