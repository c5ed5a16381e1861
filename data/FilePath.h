#pragma once

#include <string>

// The parts of a file's path, as this system separates them.
namespace FilePath {

// The folder that holds the file at path, empty for the current folder; the
// root folder keeps its separator.
std::string FolderOf(const std::string& path);
// The file's name within its folder.
std::string NameOf(const std::string& path);

} // namespace FilePath
