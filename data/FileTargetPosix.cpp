#include "data/FileTarget.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's own limit on links followed in one lookup.
const int MAX_LINK_HOPS = 40;

// A file with no write bit at all is read-only even for root, whom the system
// would let write it. Otherwise the effective user's own permission decides,
// as the system judges it when the file is opened.
WriteAccess WriteAccessOf(const std::string& path, const struct stat& status)
{
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return WRITE_ACCESS_READ_ONLY;
    }
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) {
        return WRITE_ACCESS_ALLOWED;
    }
    if (errno == EROFS) {
        return WRITE_ACCESS_READ_ONLY;
    }
    return errno == EACCES ? WRITE_ACCESS_DENIED : WRITE_ACCESS_ALLOWED;
}

bool IsInOwnGroups(gid_t group)
{
    if (group == getegid()) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    const int got = groups.empty() ? 0 : getgroups(count, groups.data());
    const auto end = groups.begin() + std::max(got, 0);
    return std::find(groups.begin(), end, group) != end;
}

// Root may give a new file any owner and group; another user may give it only
// their own, and a group they are in.
bool NewFileCanMatch(const struct stat& status)
{
    const uid_t user = geteuid();
    return user == 0 || (status.st_uid == user && IsInOwnGroups(status.st_gid));
}

} // namespace

std::string EndOfLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path target = path;
    std::error_code error;
    for (int hop = 0; hop < MAX_LINK_HOPS && fs::is_symlink(target, error); ++hop) {
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

FileTarget LookAtTarget(const std::string& path)
{
    FileTarget target;
    target.path = EndOfLinks(path);
    target.kind = KindOfFile(target.path);
    struct stat status {};
    if (target.kind != FILE_KIND_PLAIN || stat(target.path.c_str(), &status) != 0) {
        return target;
    }
    target.access = WriteAccessOf(target.path, status);
    target.hasOtherNames = status.st_nlink > 1;
    target.newFileCanMatch = NewFileCanMatch(status);
    target.likeness = {true, status.st_mode, status.st_uid, status.st_gid};
    return target;
}
