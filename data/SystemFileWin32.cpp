#include "data/SystemFile.h"

#include "data/WindowsPath.h"

#include <algorithm>
#include <utility>

#include <windows.h>

namespace {

// Virus scanners, indexers and backup programs open a file for a moment; they
// are waited out for this long.
const ULONGLONG SHARING_WAIT_LIMIT_MS = 1000;
const DWORD SHARING_RETRY_DELAY_MS = 50;
// The longest name of a file on the file systems Windows writes (NTFS, FAT's long names, exFAT).
const std::size_t FILE_SYSTEM_NAME_LIMIT = 255;
const std::size_t WRITE_PIECE_LIMIT = 1 << 20;
const DWORD ALL_SHARING = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::error_code ErrorOf(DWORD error)
{
    // The save tells a name that is taken from every other failure by its condition.
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        return std::make_error_code(std::errc::file_exists);
    }
    return {static_cast<int>(error), std::system_category()};
}

std::error_code LastError()
{
    return ErrorOf(GetLastError());
}

std::error_code Checked(BOOL succeeded)
{
    return succeeded ? std::error_code() : LastError();
}

// Another program's handle. Wine refuses a replace of a file held open with
// access denied, and so does Windows while a deleted file is still open.
bool IsSharingError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Runs attempt, which returns a system error or ERROR_SUCCESS, again while
// other programs' handles stand in its way, up to the wait limit.
template <typename Attempt>
DWORD RetryWhileShared(Attempt attempt)
{
    const ULONGLONG deadline = GetTickCount64() + SHARING_WAIT_LIMIT_MS;
    for (;;) {
        const DWORD error = attempt();
        if (error == ERROR_SUCCESS || !IsSharingError(error) || GetTickCount64() + SHARING_RETRY_DELAY_MS > deadline) {
            return error;
        }
        Sleep(SHARING_RETRY_DELAY_MS);
    }
}

// Wine's WriteFile to a full disk writes what fits and reports success; only
// the write of the rest fails, with the reason.
std::error_code WriteAll(HANDLE file, const char* bytes, std::size_t count)
{
    for (std::size_t written = 0; written < count;) {
        DWORD done = 0;
        const DWORD piece = static_cast<DWORD>(std::min(count - written, WRITE_PIECE_LIMIT));
        if (!WriteFile(file, bytes + written, piece, &done, nullptr)) {
            return LastError();
        }
        if (done == 0) {
            return ErrorOf(ERROR_WRITE_FAULT);
        }
        written += done;
    }
    return {};
}

bool MoveTo(HANDLE file, std::uint64_t offset)
{
    LARGE_INTEGER position = {};
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

DWORD RenameThroughHandle(HANDLE file, const std::string& newPath)
{
    const std::wstring target = WindowsPath::Wide(newPath);
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    FILE_RENAME_INFO* const rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    target.copy(rename->FileName, target.size());
    return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))
               ? ERROR_SUCCESS
               : GetLastError();
}

// Wine shows a file without the owner's write bit as read-only, as a new file
// that took the access list of another user's table is, and then refuses to
// delete it, as Windows refuses a read-only file: the attribute goes first then.
void DeleteOpenFile(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)) {
        return;
    }
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic)) {
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
}

} // namespace

SystemFile::SystemFile() : handle(INVALID_HANDLE_VALUE)
{
}

SystemFile::SystemFile(NativeFileHandle handle) : handle(handle)
{
}

SystemFile::SystemFile(SystemFile&& other) noexcept : handle(other.handle)
{
    other.handle = INVALID_HANDLE_VALUE;
}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept
{
    std::swap(handle, other.handle);
    return *this;
}

SystemFile::~SystemFile()
{
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
}

bool SystemFile::IsOpen() const
{
    return handle != INVALID_HANDLE_VALUE;
}

// The handle shares no deletion, so that no other save's clean-up can remove
// the file, and no other program can hold it against its rename; the rename
// goes through the handle, and through it the writes and the rename go
// straight to the disk. Not ReplaceFileA: without a backup name Wine's deletes
// the target before moving the new file in.
std::error_code SystemFile::CreateHeld(const std::string& path, const FileLikeness& likeness, SystemFile& file,
                                       bool& matched)
{
    SECURITY_ATTRIBUTES securityAttributes = {sizeof securityAttributes, nullptr, FALSE};
    securityAttributes.lpSecurityDescriptor =
        likeness.security.empty() ? nullptr : const_cast<char*>(likeness.security.data());
    const DWORD attributes = likeness.attributes != 0 ? likeness.attributes : FILE_ATTRIBUTE_NORMAL;
    SystemFile created(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, &securityAttributes,
                                   CREATE_NEW, attributes | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!created.IsOpen()) {
        return LastError();
    }
    matched = true;
    file = std::move(created);
    return {};
}

// Readers may go on reading while the file is written; other writers are kept out.
std::error_code SystemFile::OpenForWritingInPlace(const std::string& path, SystemFile& file)
{
    HANDLE opened = INVALID_HANDLE_VALUE;
    const DWORD error = RetryWhileShared([&] {
        opened = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_WRITE_THROUGH, nullptr);
        return opened != INVALID_HANDLE_VALUE ? ERROR_SUCCESS : GetLastError();
    });
    SystemFile written(opened);
    if (error != ERROR_SUCCESS) {
        return ErrorOf(error);
    }
    if (GetFileType(written.handle) != FILE_TYPE_DISK) {
        return ErrorOf(ERROR_INVALID_FUNCTION);
    }
    file = std::move(written);
    return {};
}

// A running save's handle shares no deletion, so asking for it tells such a copy.
SystemFile SystemFile::OpenUnheldForReading(const std::string& path)
{
    SystemFile file(CreateFileA(path.c_str(), GENERIC_READ | DELETE, ALL_SHARING, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file.IsOpen() && WindowsPath::IsPlainFileAt(file.handle, path) ? std::move(file) : SystemFile();
}

// Only a plain file of the name is removed: a link of that name, as a mod's
// archive may carry, would lead the deletion to another file, the table itself
// among them.
UnheldFile SystemFile::RemoveUnheld(const std::string& path)
{
    const SystemFile file(CreateFileA(path.c_str(), DELETE | FILE_WRITE_ATTRIBUTES, ALL_SHARING, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return UNHELD_FILE_NONE;
        }
        return error == ERROR_SHARING_VIOLATION ? UNHELD_FILE_HELD : UNHELD_FILE_FOREIGN;
    }
    if (!WindowsPath::IsPlainFileAt(file.handle, path)) {
        return UNHELD_FILE_FOREIGN;
    }
    DeleteOpenFile(file.handle);
    return UNHELD_FILE_LEFT;
}

std::error_code SystemFile::Length(std::uint64_t& length) const
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(handle, &size)) {
        return LastError();
    }
    length = static_cast<std::uint64_t>(size.QuadPart);
    return {};
}

std::error_code SystemFile::WriteAt(std::uint64_t offset, const char* bytes, std::size_t count) const
{
    return MoveTo(handle, offset) ? WriteAll(handle, bytes, count) : LastError();
}

std::error_code SystemFile::SetLength(std::uint64_t length) const
{
    return Checked(MoveTo(handle, length) && SetEndOfFile(handle));
}

std::error_code SystemFile::Flush() const
{
    return Checked(FlushFileBuffers(handle));
}

std::error_code SystemFile::ReadSome(char* bytes, std::size_t count, std::size_t& done) const
{
    DWORD read = 0;
    const BOOL succeeded =
        ReadFile(handle, bytes, static_cast<DWORD>(std::min(count, WRITE_PIECE_LIMIT)), &read, nullptr);
    done = succeeded ? read : 0;
    return Checked(succeeded);
}

std::error_code SystemFile::RenameTo(const std::string&, const std::string& newPath) const
{
    const DWORD error = RetryWhileShared([&] { return RenameThroughHandle(handle, newPath); });
    return error == ERROR_SUCCESS ? std::error_code() : ErrorOf(error);
}

// The rename went through a handle that writes through to the disk.
std::error_code SystemFile::FlushName(const std::string&) const
{
    return Flush();
}

// Removed through the handle, which no other program's clean-up could open.
void SystemFile::Remove(const std::string&) const
{
    DeleteOpenFile(handle);
}

// The programs' ANSI calls take paths of fewer than MAX_PATH characters, the
// folder's included.
std::size_t NameLengthLimit(const std::string& folder)
{
    char fullPath[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(folder.empty() ? "." : folder.c_str(), MAX_PATH, fullPath, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return 0;
    }
    const std::size_t separator = fullPath[length - 1] == '\\' ? 0 : 1;
    const std::size_t room = MAX_PATH - 1 - length - separator;
    return room < FILE_SYSTEM_NAME_LIMIT ? room : FILE_SYSTEM_NAME_LIMIT;
}
