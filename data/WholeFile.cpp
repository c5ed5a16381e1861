#include "data/WholeFile.h"

#include "data/TilesetFileFormat.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace {

const std::size_t READ_BUFFER_SIZE = 256 * 1024;
const std::size_t READ_PIECE_SIZE = 64 * 1024;

} // namespace

// Not zeroed: the stream only ever reads what it wrote there.
WholeFile::WholeFile() : buffer(new char[READ_BUFFER_SIZE])
{
    // Taken only before the open by some libraries; others keep their own buffer.
    in.rdbuf()->pubsetbuf(buffer.get(), READ_BUFFER_SIZE);
}

WholeFileOpenStatus WholeFile::Open(const std::string& path)
{
    std::error_code error;
    // A folder opens for reading on some systems and then yields nothing.
    if (std::filesystem::is_directory(path, error)) {
        return WHOLE_FILE_IS_FOLDER;
    }
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in.is_open()) {
        openError = errno;
        const bool missing = !std::filesystem::exists(path, error) && !error;
        return missing ? WHOLE_FILE_MISSING : WHOLE_FILE_OPEN_FAILED;
    }
    return WHOLE_FILE_OPENED;
}

std::istream& WholeFile::Stream()
{
    return in;
}

int WholeFile::OpenError() const
{
    return openError;
}

std::string WholeFile::OpenFailure(WholeFileOpenStatus status, int openError)
{
    switch (status) {
    case WHOLE_FILE_OPENED:
        break;
    case WHOLE_FILE_MISSING:
        return "no such file";
    case WHOLE_FILE_IS_FOLDER:
        return "is a folder, not a file";
    case WHOLE_FILE_OPEN_FAILED:
        return "cannot be opened: " + TilesetFileFormat::SystemErrorText(openError);
    }
    return {};
}

bool WholeFile::Read(const std::string& path, std::string& bytes, std::string& reason)
{
    bytes.clear();
    WholeFile file;
    const WholeFileOpenStatus status = file.Open(path);
    if (status != WHOLE_FILE_OPENED) {
        reason = OpenFailure(status, file.OpenError());
        return false;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) {
        bytes.reserve(static_cast<std::size_t>(size));
    }
    // In pieces through the buffer: a character at a time took longer than the
    // whole load. The stream's read turns a read error into badbit, where its
    // buffer's own would throw.
    char piece[READ_PIECE_SIZE];
    do {
        file.in.read(piece, sizeof piece);
        bytes.append(piece, static_cast<std::size_t>(file.in.gcount()));
    } while (file.in);
    if (file.in.bad()) {
        bytes.clear();
        reason = "reading failed";
        return false;
    }
    return true;
}
