#pragma once

#include <windows.h>

// A file handle closed when the object goes.
class ScopedFileHandle {
public:
    explicit ScopedFileHandle(HANDLE handle) : handle(handle) {}
    ScopedFileHandle(ScopedFileHandle&& other) noexcept : handle(other.handle) { other.handle = INVALID_HANDLE_VALUE; }
    ~ScopedFileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    ScopedFileHandle(const ScopedFileHandle&) = delete;
    ScopedFileHandle& operator=(const ScopedFileHandle&) = delete;
    ScopedFileHandle& operator=(ScopedFileHandle&&) = delete;

    HANDLE Get() const { return handle; }
    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};
