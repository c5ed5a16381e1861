#include "data/FileKind.h"

#include <filesystem>
#include <system_error>

// No other program's open handle keeps a file from being read here.
bool IsHeldByAnotherProgram(const std::string&)
{
    return false;
}

FileKind KindOfFile(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error == std::errc::too_many_symbolic_link_levels) {
        return FILE_KIND_LINK_LOOP;
    }
    switch (status.type()) {
    case fs::file_type::not_found:
        return FILE_KIND_MISSING;
    case fs::file_type::regular:
        return FILE_KIND_PLAIN;
    case fs::file_type::directory:
        return FILE_KIND_FOLDER;
    case fs::file_type::fifo:
        return FILE_KIND_PIPE;
    case fs::file_type::block:
    case fs::file_type::character:
        return FILE_KIND_DEVICE;
    case fs::file_type::socket:
        return FILE_KIND_SOCKET;
    default:
        return FILE_KIND_OTHER;
    }
}
