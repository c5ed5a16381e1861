#include "tools/WholeFile.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

std::string SystemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : "the system gave no reason";
}

} // namespace

bool WholeFile::Open(const std::string& path, std::ifstream& in, std::string& reason)
{
    std::error_code error;
    // A folder opens for reading on some systems and then yields nothing.
    if (std::filesystem::is_directory(path, error)) {
        reason = "is a folder, not a file";
        return false;
    }
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in.is_open()) {
        const int openError = errno;
        const bool missing = !std::filesystem::exists(path, error) && !error;
        reason = missing ? "no such file" : "cannot be opened: " + SystemReason(openError);
        return false;
    }
    return true;
}

bool WholeFile::Read(const std::string& path, std::string& bytes, std::string& reason)
{
    bytes.clear();
    std::ifstream in;
    if (!Open(path, in, reason)) {
        return false;
    }
    // In pieces through the buffer: a character at a time took longer than the whole load.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) {
        bytes.reserve(static_cast<std::size_t>(size));
    }
    char piece[64 * 1024];
    std::streamsize got = 0;
    while ((got = in.rdbuf()->sgetn(piece, sizeof piece)) > 0) {
        bytes.append(piece, static_cast<std::size_t>(got));
    }
    if (in.bad()) {
        bytes.clear();
        reason = "reading failed";
        return false;
    }
    return true;
}
