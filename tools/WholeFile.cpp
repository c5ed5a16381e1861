#include "tools/WholeFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

std::string SystemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : "the system gave no reason";
}

} // namespace

bool WholeFile::Read(const std::string& path, std::string& bytes, std::string& reason)
{
    bytes.clear();
    std::error_code error;
    // A folder opens for reading on some systems and then yields nothing.
    if (std::filesystem::is_directory(path, error)) {
        reason = "is a folder, not a file";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        const int openError = errno;
        const bool missing = !std::filesystem::exists(path, error) && !error;
        reason = missing ? "no such file" : "cannot be opened: " + SystemReason(openError);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        bytes.clear();
        reason = "reading failed";
        return false;
    }
    return true;
}
