#include "data/WholeFile.h"

#include "data/TilesetFileFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace {

const std::size_t READ_BUFFER_SIZE = 256 * 1024;
const std::size_t READ_PIECE_SIZE = 64 * 1024;

std::optional<uint64_t> PlainFileSize(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? std::nullopt : std::optional<uint64_t>(size);
}

// In pieces through the stream's buffer: a character at a time took longer than
// the whole load. The stream's read turns a read error into badbit, where its
// buffer's own would throw. bytes holds limit + 1 bytes where the stream goes on.
WholeFileRead ReadUpTo(std::istream& in, std::size_t limit, std::string& bytes)
{
    const std::size_t most = limit + 1;
    char piece[READ_PIECE_SIZE];
    while (bytes.size() < most && in) {
        in.read(piece, static_cast<std::streamsize>(std::min(sizeof piece, most - bytes.size())));
        bytes.append(piece, static_cast<std::size_t>(in.gcount()));
    }
    WholeFileRead result;
    if (in.bad()) {
        bytes.clear();
        result.reason = "reading failed";
        return result;
    }
    result.read = true;
    result.goesOn = bytes.size() > limit;
    return result;
}

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

WholeFileRead WholeFile::Read(const std::string& path, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    WholeFile file;
    const WholeFileOpenStatus status = file.Open(path);
    if (status != WHOLE_FILE_OPENED) {
        WholeFileRead failed;
        failed.reason = OpenFailure(status, file.OpenError());
        return failed;
    }
    const std::optional<uint64_t> size = PlainFileSize(path);
    // A string grown by doubling would hold up to twice what it reads.
    bytes.reserve(static_cast<std::size_t>(std::min<uint64_t>(size.value_or(limit), limit) + 1));
    WholeFileRead result = ReadUpTo(file.in, limit, bytes);
    result.size = size;
    return result;
}

WholeFileRead WholeFile::Read(std::istream& in, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    bytes.reserve(limit + 1);
    return ReadUpTo(in, limit, bytes);
}

bool WholeFile::Read(const std::string& path, std::string& bytes, std::string& reason)
{
    const WholeFileRead result = Read(path, TilesetFileFormat::LARGEST_FILE_SIZE, bytes);
    reason = result.reason;
    return result.read;
}
