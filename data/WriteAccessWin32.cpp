#include "data/WriteAccess.h"

#include "data/ScopedFileHandle.h"

#include <windows.h>

// The read-only attribute first: opening such a file for writing fails with
// access denied as well. Then the file's security, by opening it for writing
// with every sharing allowed, which changes nothing; another program's handle
// that shares nothing gives a sharing violation, which is not a refusal.
WriteAccess WriteAccessOf(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return WRITE_ACCESS_ALLOWED;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return WRITE_ACCESS_READ_ONLY;
    }
    const ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.IsOpen() && GetLastError() == ERROR_ACCESS_DENIED ? WRITE_ACCESS_DENIED : WRITE_ACCESS_ALLOWED;
}
