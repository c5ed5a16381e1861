#include "data/FilePath.h"

namespace {

#ifdef _WIN32
const char SEPARATORS[] = "\\/";
#else
const char SEPARATORS[] = "/";
#endif

} // namespace

std::string FilePath::FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of(SEPARATORS);
    if (separator == std::string::npos) {
        return {};
    }
    // "/" is a folder, "" is not; nor is "C:" the root of its drive.
    const bool root = separator == 0 || path[separator - 1] == ':';
    return path.substr(0, root ? separator + 1 : separator);
}

std::string FilePath::NameOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of(SEPARATORS);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}
