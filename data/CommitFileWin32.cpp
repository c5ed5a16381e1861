#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"
#include "data/ScopedFileHandle.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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
// The longest name of a file on the file systems Windows writes (NTFS, FAT's long names, exFAT).
const std::size_t FILE_SYSTEM_NAME_LIMIT = 255;
const DWORD ALL_SHARING = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string SystemReason(DWORD error)
{
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
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

// Wine maps a file's security onto its Unix permission bits only in part: the
// owner's bits and the group's come from the same entry, and the umask applies
// to a new file. So under Wine no new file can be relied on to have the old
// one's owner, group and bits, and the old file is written in place instead.
bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The path without the long-path prefix where it names a file on a drive.
std::string WithoutLongPathPrefix(const std::string& path)
{
    const std::size_t prefixLength = sizeof LONG_PATH_PREFIX - 1;
    const bool onDrive = path.compare(0, prefixLength, LONG_PATH_PREFIX) == 0 && path.size() > prefixLength + 1 &&
                         path[prefixLength + 1] == ':';
    return onDrive ? path.substr(prefixLength) : path;
}

std::wstring WidePath(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

DWORD KeptAttributes(const std::string& targetPath)
{
    const DWORD attributes = GetFileAttributesA(targetPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & KEPT_ATTRIBUTES) == 0) {
        return FILE_ATTRIBUTE_NORMAL;
    }
    return (attributes & KEPT_ATTRIBUTES) | FILE_ATTRIBUTE_ARCHIVE;
}

// The target's access control list, as ReplaceFile would keep it; empty where
// there is no target. Where the target's cannot be read the save fails rather
// than give the new file the folder's defaults, which may let more people in.
DWORD TargetSecurity(const std::string& targetPath, std::vector<char>& descriptor)
{
    if (GetFileAttributesA(targetPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return ERROR_SUCCESS;
    }
    DWORD needed = 0;
    GetFileSecurityA(targetPath.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    descriptor.resize(needed);
    if (needed == 0 ||
        !GetFileSecurityA(targetPath.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) {
        descriptor.clear();
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

// Wine's WriteFile to a full disk writes what fits and reports success; only
// the write of the rest fails, with the reason.
DWORD WriteAll(HANDLE file, const char* bytes, std::size_t count)
{
    for (std::size_t written = 0; written < count;) {
        DWORD done = 0;
        if (!WriteFile(file, bytes + written, static_cast<DWORD>(NextPieceSize(count, written)), &done, nullptr)) {
            return GetLastError();
        }
        if (done == 0) {
            return ERROR_WRITE_FAULT;
        }
        written += done;
    }
    return ERROR_SUCCESS;
}

bool MoveTo(HANDLE file, std::uint64_t offset)
{
    LARGE_INTEGER position = {};
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

// The handle shares no deletion, so that no other save's clean-up can remove
// the file, and no other program can hold it against its rename; the rename
// goes through the handle, and through it the writes and the rename go
// straight to the disk. Not ReplaceFileA: without a backup name Wine's deletes
// the target before moving the new file in.
HANDLE CreateFileHeld(const std::string& path, const std::vector<char>& security, DWORD attributes)
{
    SECURITY_ATTRIBUTES securityAttributes = {sizeof securityAttributes, nullptr, FALSE};
    securityAttributes.lpSecurityDescriptor = security.empty() ? nullptr : const_cast<char*>(security.data());
    return CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, &securityAttributes, CREATE_NEW,
                       attributes | FILE_FLAG_WRITE_THROUGH, nullptr);
}

DWORD RenameThroughHandle(HANDLE file, const std::string& targetPath)
{
    const std::wstring target = WidePath(targetPath);
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

class ScopedSearch {
public:
    ScopedSearch(const std::string& pattern, WIN32_FIND_DATAA& entry) : search(FindFirstFileA(pattern.c_str(), &entry))
    {
    }
    ~ScopedSearch()
    {
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
        }
    }
    ScopedSearch(const ScopedSearch&) = delete;
    ScopedSearch& operator=(const ScopedSearch&) = delete;

    bool Found() const { return search != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& entry) const { return FindNextFileA(search, &entry) != FALSE; }

private:
    HANDLE search;
};

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

ScopedFileHandle OpenForInfo(const std::string& path)
{
    return ScopedFileHandle(
        CreateFileA(path.c_str(), 0, ALL_SHARING, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Where the file of an open handle is, after every link on the way; empty where
// the system cannot tell.
std::string FinalPathOf(HANDLE file)
{
    // Asked for the size alone, Wine's answer leaves out the NUL; so the second
    // call gets a buffer one longer than the first answer.
    std::string finalPath(MAX_PATH, '\0');
    for (int call = 0; call < 2; ++call) {
        const DWORD length = GetFinalPathNameByHandleA(file, &finalPath[0], static_cast<DWORD>(finalPath.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return {};
        }
        if (length < finalPath.size()) {
            finalPath.resize(length);
            return WithoutLongPathPrefix(finalPath);
        }
        finalPath.resize(length + 1);
    }
    return {};
}

// True for the handle of a plain file whose own path is path: not a folder,
// nor a link that leads elsewhere. Under Wine a Linux link opens as the file it
// leads to, FILE_FLAG_OPEN_REPARSE_POINT or not, so only the handle's final
// path, against the final path of its folder, tells it.
bool IsPlainFileAt(HANDLE file, const std::string& folderFinalPath, const std::string& name)
{
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return false;
    }
    const char last = folderFinalPath.empty() ? '\\' : folderFinalPath.back();
    const std::string ownPath = folderFinalPath + (last == '\\' ? "" : "\\") + name;
    return !folderFinalPath.empty() && FinalPathOf(file) == ownPath;
}

std::string FolderFinalPath(const std::string& folder)
{
    const ScopedFileHandle opened(OpenForInfo(folder.empty() ? "." : folder));
    return opened.IsOpen() ? FinalPathOf(opened.Get()) : std::string();
}

// A running save's file is open without delete sharing, so opening it for
// deletion fails. Only a plain file of the name is removed: a link of a
// leftover's name, as a mod's archive may carry, would lead the deletion to
// another file, the table itself among them.
void RemoveIfUnheldLeftover(const std::string& folderPrefix, const std::string& folderFinalPath,
                            const std::string& name)
{
    const ScopedFileHandle file(CreateFileA((folderPrefix + name).c_str(), DELETE | FILE_WRITE_ATTRIBUTES, ALL_SHARING,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.IsOpen() && IsPlainFileAt(file.Get(), folderFinalPath, name)) {
        DeleteOpenFile(file.Get());
    }
}

// Under Wine a Linux link whose end is missing looks like no file at all:
// opening it, its attributes and its folder's listing all say so. Only a new
// file of its name is refused, as the name is taken. The new file tried shares
// nothing and goes as its handle closes, so that no other program sees it.
bool IsNameTakenThoughMissing(const std::string& path)
{
    const ScopedFileHandle probe(
        CreateFileA(path.c_str(), DELETE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return !probe.IsOpen() && IsNameTaken(GetLastError());
}

// The file a link whose end is missing leads to: opened to be created, its end
// is made through the link, and the handle knows where that is. The empty
// file made is removed again, so that the save creates it as a new file, with
// the one-step rename; empty where the end cannot be made, as in a folder
// that does not exist.
std::string EndOfLinkToMissingFile(const std::string& path)
{
    std::string end;
    {
        const ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, ALL_SHARING, nullptr, OPEN_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size = {};
        if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size)) {
            return {};
        }
        end = FinalPathOf(file.Get());
        if (end.empty() || size.QuadPart != 0) {
            return end;
        }
    }
    DeleteFileA(end.c_str());
    return end;
}

} // namespace

struct SystemFile {
    ScopedFileHandle handle;
};

namespace {

SystemFilePointer Held(ScopedFileHandle file)
{
    return SystemFilePointer(new SystemFile{std::move(file)});
}

} // namespace

const char PATH_SEPARATORS[] = "\\/";

void SystemFileCloser::operator()(SystemFile* file) const
{
    delete file;
}

// Removed through the handle, which no other program's clean-up could open.
void RemoveHeldFile(SystemFile& file, const std::string&)
{
    DeleteOpenFile(file.handle.Get());
}

// Opening the file follows every link to its end, and the handle knows where
// that is; asking for no access leaves other programs' handles in peace.
std::string ReplacedFilePath(const std::string& path)
{
    const ScopedFileHandle file(OpenForInfo(path));
    if (file.IsOpen()) {
        const std::string finalPath = FinalPathOf(file.Get());
        return finalPath.empty() ? path : finalPath;
    }
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (missing && IsNameTakenThoughMissing(path)) {
        return EndOfLinkToMissingFile(path);
    }
    return path;
}

NewFile CreateHeldFile(const std::string& path, const std::string& targetPath)
{
    std::vector<char> security;
    const DWORD securityError = TargetSecurity(targetPath, security);
    if (securityError != ERROR_SUCCESS) {
        return {NEW_FILE_FAILED, SystemReason(securityError), nullptr, false};
    }
    ScopedFileHandle file(CreateFileHeld(path, security, KeptAttributes(targetPath)));
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        return {IsNameTaken(error) ? NEW_FILE_NAME_TAKEN : NEW_FILE_FAILED, SystemReason(error), nullptr, false};
    }
    return {NEW_FILE_CREATED, {}, Held(std::move(file)), security.empty() || !RunningUnderWine()};
}

SystemError RenameHeldFile(SystemFile& file, const std::string&, const std::string& newPath)
{
    return RetryWhileShared([&] { return RenameThroughHandle(file.handle.Get(), newPath); });
}

// The rename went through a handle that writes through to the disk.
SystemError FlushRename(SystemFile& file, const std::string&)
{
    return FlushFileBuffers(file.handle.Get()) ? ERROR_SUCCESS : GetLastError();
}

// A running save's handle shares no deletion, so asking for it tells such a copy.
SystemFilePointer OpenUnheldForReading(const std::string& path)
{
    const PathParts parts = SplitPath(path);
    ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ | DELETE, ALL_SHARING, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsOpen() || !IsPlainFileAt(file.Get(), FolderFinalPath(parts.folder), parts.name)) {
        return nullptr;
    }
    return Held(std::move(file));
}

void RemoveUnheldFile(const std::string& path)
{
    const PathParts parts = SplitPath(path);
    RemoveIfUnheldLeftover(path.substr(0, path.size() - parts.name.size()), FolderFinalPath(parts.folder), parts.name);
}

unsigned long CurrentProcessId()
{
    return GetCurrentProcessId();
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

bool HasOtherNames(const std::string& path)
{
    const ScopedFileHandle file(OpenForInfo(path));
    BY_HANDLE_FILE_INFORMATION information = {};
    return file.IsOpen() && GetFileInformationByHandle(file.Get(), &information) && information.nNumberOfLinks > 1;
}

// Readers may go on reading while the file is written; other writers are kept out.
SystemFilePointer OpenForWritingInPlace(const std::string& path, SystemError& error)
{
    HANDLE opened = INVALID_HANDLE_VALUE;
    error = RetryWhileShared([&] {
        opened = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_WRITE_THROUGH, nullptr);
        return opened != INVALID_HANDLE_VALUE ? ERROR_SUCCESS : GetLastError();
    });
    ScopedFileHandle file(opened);
    if (error == ERROR_SUCCESS && GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = ERROR_INVALID_FUNCTION;
    }
    return error == ERROR_SUCCESS ? Held(std::move(file)) : nullptr;
}

SystemError LengthOf(SystemFile& file, std::uint64_t& length)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.handle.Get(), &size)) {
        return GetLastError();
    }
    length = static_cast<std::uint64_t>(size.QuadPart);
    return ERROR_SUCCESS;
}

SystemError WriteAt(SystemFile& file, std::uint64_t offset, const char* bytes, std::size_t count)
{
    return MoveTo(file.handle.Get(), offset) ? WriteAll(file.handle.Get(), bytes, count) : GetLastError();
}

SystemError SetLength(SystemFile& file, std::uint64_t length)
{
    return MoveTo(file.handle.Get(), length) && SetEndOfFile(file.handle.Get()) ? ERROR_SUCCESS : GetLastError();
}

SystemError ReadSome(SystemFile& file, char* bytes, std::size_t count, std::size_t& done)
{
    DWORD read = 0;
    const BOOL succeeded =
        ReadFile(file.handle.Get(), bytes, static_cast<DWORD>(NextPieceSize(count, 0)), &read, nullptr);
    done = succeeded ? read : 0;
    return succeeded ? ERROR_SUCCESS : GetLastError();
}

SystemError FlushToDisk(SystemFile& file)
{
    return FlushFileBuffers(file.handle.Get()) ? ERROR_SUCCESS : GetLastError();
}

std::string SystemErrorReason(SystemError error)
{
    return SystemReason(static_cast<DWORD>(error));
}

void RemoveLeftoverTempFiles(const std::string& targetPath)
{
    const PathParts parts = SplitPath(targetPath);
    const std::string folderPrefix = targetPath.substr(0, targetPath.size() - parts.name.size());
    WIN32_FIND_DATAA entry = {};
    const ScopedSearch search(folderPrefix + "*", entry);
    if (!search.Found()) {
        return;
    }
    const std::size_t nameLimit = NameLengthLimit(parts.folder);
    const std::string folderFinalPath = FolderFinalPath(parts.folder);
    do {
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
            IsTempFileNameOf(entry.cFileName, parts.name, nameLimit)) {
            RemoveIfUnheldLeftover(folderPrefix, folderFinalPath, entry.cFileName);
        }
    } while (search.Next(entry));
}
