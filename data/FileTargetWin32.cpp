#include "data/FileTarget.h"

#include "data/ScopedFileHandle.h"
#include "data/WindowsPath.h"

#include <vector>

#include <windows.h>

namespace {

const DWORD ALL_SHARING = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What a replace on Windows keeps. Read-only is refused before a save, and the
// archive bit is set, as the content has changed.
const DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Under Wine a Linux link whose end is missing looks like no file at all:
// opening it, its attributes and its folder's listing all say so. Only a new
// file of its name is refused, as the name is taken. The new file tried shares
// nothing and goes as its handle closes, so that no other program sees it.
bool IsNameTakenThoughMissing(const std::string& path)
{
    const ScopedFileHandle probe(
        CreateFileA(path.c_str(), DELETE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    const DWORD error = probe.IsOpen() ? ERROR_SUCCESS : GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
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
        end = WindowsPath::FinalPathOf(file.Get());
        if (end.empty() || size.QuadPart != 0) {
            return end;
        }
    }
    DeleteFileA(end.c_str());
    return end;
}

// The read-only attribute first: opening such a file for writing fails with
// access denied as well. Then the file's security, by opening it for writing
// with every sharing allowed, which changes nothing; another program's handle
// that shares nothing gives a sharing violation, which is not a refusal.
WriteAccess WriteAccessOf(const std::string& path, DWORD attributes)
{
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return WRITE_ACCESS_READ_ONLY;
    }
    const ScopedFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, ALL_SHARING, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.IsOpen() && GetLastError() == ERROR_ACCESS_DENIED ? WRITE_ACCESS_DENIED : WRITE_ACCESS_ALLOWED;
}

DWORD KeptAttributes(DWORD attributes)
{
    return (attributes & KEPT_ATTRIBUTES) == 0 ? 0 : (attributes & KEPT_ATTRIBUTES) | FILE_ATTRIBUTE_ARCHIVE;
}

// The access list, as ReplaceFile would keep it.
DWORD SecurityOf(const std::string& path, std::vector<char>& descriptor)
{
    DWORD needed = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    descriptor.resize(needed);
    if (needed == 0 ||
        !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) {
        descriptor.clear();
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

// A new file cannot be relied on under Wine to have the old one's Unix owner,
// group and bits, and the old file is written in place instead.
void LookAtPlainFile(FileTarget& target, DWORD attributes, DWORD nameCount)
{
    target.access = WriteAccessOf(target.path, attributes);
    target.hasOtherNames = nameCount > 1;
    target.newFileCanMatch = !WindowsPath::RunningUnderWine();
    target.likeness.exists = true;
    target.likeness.attributes = KeptAttributes(attributes);
    const DWORD error = SecurityOf(target.path, target.likeness.security);
    if (error != ERROR_SUCCESS) {
        target.likenessError = {static_cast<int>(error), std::system_category()};
    }
}

} // namespace

// Opening the file follows every link to its end, and the handle knows where that is.
std::string EndOfLinks(const std::string& path)
{
    const ScopedFileHandle file(WindowsPath::OpenForInfo(path));
    if (file.IsOpen()) {
        const std::string finalPath = WindowsPath::FinalPathOf(file.Get());
        return finalPath.empty() ? path : finalPath;
    }
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing && IsNameTakenThoughMissing(path) ? EndOfLinkToMissingFile(path) : path;
}

FileTarget LookAtTarget(const std::string& path)
{
    FileTarget target;
    target.kind = KindOfFile(path);
    target.path = EndOfLinks(path);
    if (target.kind != FILE_KIND_PLAIN || target.path.empty()) {
        return target;
    }
    const ScopedFileHandle file(WindowsPath::OpenForInfo(target.path));
    const DWORD attributes = file.IsOpen() ? WindowsPath::AttributesOf(file.Get()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        LookAtPlainFile(target, attributes, WindowsPath::NameCountOf(file.Get()));
    }
    return target;
}
