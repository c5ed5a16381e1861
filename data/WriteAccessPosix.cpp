#include "data/WriteAccess.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A file with no write bit at all is read-only even for root, whom the system
// would let write it. Otherwise the effective user's own permission decides,
// as the system judges it when the file is opened.
WriteAccess WriteAccessOf(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return WRITE_ACCESS_ALLOWED;
    }
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
