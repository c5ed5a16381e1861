#pragma once

#include "data/ScopedFileHandle.h"

#include <string>

#include <windows.h>

// Where files are, as Windows (and Wine) tells it through open handles.
namespace WindowsPath {

// The file or folder at path, opened for no access with every sharing, which
// follows its links, neither waits for a pipe's writer nor disturbs other
// programs' handles.
ScopedFileHandle OpenForInfo(const std::string& path);

// Where the file of an open handle is, after every link on the way; empty where
// the system cannot tell.
std::string FinalPathOf(HANDLE file);

// The final path of folder, empty for the current one; empty where it cannot be opened.
std::string FolderFinalPath(const std::string& folder);

// True for the handle of a plain file whose own path is path: not a folder,
// nor a link that leads elsewhere. Under Wine a Linux link opens as the file it
// leads to, FILE_FLAG_OPEN_REPARSE_POINT or not, so only the handle's final
// path, against the final path of its folder, tells it.
bool IsPlainFileAt(HANDLE file, const std::string& path);

// The attributes of an open file, INVALID_FILE_ATTRIBUTES where the system
// cannot tell, and how many names it has, 0 where it cannot tell. Not
// GetFileInformationByHandle, which takes half a millisecond under Wine, about
// as long as reading the largest table, where these take a microsecond or two.
DWORD AttributesOf(HANDLE file);
DWORD NameCountOf(HANDLE file);

std::wstring Wide(const std::string& path);

// Wine maps a file's security onto its Unix permission bits only in part: the
// owner's bits and the group's come from the same entry, and the umask applies
// to a new file.
bool RunningUnderWine();

} // namespace WindowsPath
