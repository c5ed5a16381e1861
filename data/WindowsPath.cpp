#include "data/WindowsPath.h"

#include "data/FilePath.h"

namespace {

const char LONG_PATH_PREFIX[] = "\\\\?\\";

// The path without the long-path prefix where it names a file on a drive.
std::string WithoutLongPathPrefix(const std::string& path)
{
    const std::size_t prefixLength = sizeof LONG_PATH_PREFIX - 1;
    const bool onDrive = path.compare(0, prefixLength, LONG_PATH_PREFIX) == 0 && path.size() > prefixLength + 1 &&
                         path[prefixLength + 1] == ':';
    return onDrive ? path.substr(prefixLength) : path;
}

} // namespace

std::string WindowsPath::FinalPathOf(HANDLE file)
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

ScopedFileHandle WindowsPath::OpenForInfo(const std::string& path)
{
    return ScopedFileHandle(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::string WindowsPath::FolderFinalPath(const std::string& folder)
{
    const ScopedFileHandle opened(OpenForInfo(folder.empty() ? "." : folder));
    return opened.IsOpen() ? FinalPathOf(opened.Get()) : std::string();
}

bool WindowsPath::IsPlainFileAt(HANDLE file, const std::string& path)
{
    const DWORD attributes = AttributesOf(file);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return false;
    }
    const std::string folderFinalPath = FolderFinalPath(FilePath::FolderOf(path));
    const char last = folderFinalPath.empty() ? '\\' : folderFinalPath.back();
    const std::string ownPath = folderFinalPath + (last == '\\' ? "" : "\\") + FilePath::NameOf(path);
    return !folderFinalPath.empty() && FinalPathOf(file) == ownPath;
}

DWORD WindowsPath::AttributesOf(HANDLE file)
{
    FILE_BASIC_INFO basic = {};
    return GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ? basic.FileAttributes
                                                                                   : INVALID_FILE_ATTRIBUTES;
}

DWORD WindowsPath::NameCountOf(HANDLE file)
{
    FILE_STANDARD_INFO standard = {};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) ? standard.NumberOfLinks
                                                                                            : 0;
}

std::wstring WindowsPath::Wide(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

bool WindowsPath::RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}
