#include "data/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <system_error>

namespace {

const std::size_t READ_BUFFER_SIZE = 256 * 1024;
const std::size_t READ_PIECE_SIZE = 64 * 1024;

// The bytes from the stream's position to its end, or -1 where the stream
// cannot tell. A length of 0 proves nothing: /proc's files and devices give it
// whatever they hold.
std::streamoff StreamLength(std::istream& in)
{
    const std::streampos start = in.tellg();
    if (start == std::streampos(-1)) {
        in.clear();
        return -1;
    }
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    in.clear();
    in.seekg(start);
    return end == std::streampos(-1) ? -1 : static_cast<std::streamoff>(end - start);
}

// Straight into the string, the length the stream gave in one call, which the
// stream passes to the system without its buffer; then pieces until the end.
// The stream's read turns a read error into badbit, where its buffer's own
// would throw; a buffer that takes a failed read for the end is caught by the
// length the stream gave before the first read, as a failed read counts none
// of its bytes. bytes holds limit + 1 bytes where the stream goes on.
WholeFileRead ReadUpTo(std::istream& in, std::size_t limit, std::string& bytes)
{
    const std::streamoff length = StreamLength(in);
    const uint64_t said = length > 0 ? static_cast<uint64_t>(length) : 0;
    const std::size_t most = limit + 1;
    bool ended = false;
    while (bytes.size() < most && !ended) {
        const std::size_t start = bytes.size();
        const uint64_t next = said > start ? said - start : READ_PIECE_SIZE;
        const std::size_t wanted = static_cast<std::size_t>(std::min<uint64_t>(next, most - start));
        bytes.resize(start + wanted);
        errno = 0;
        in.read(&bytes[start], static_cast<std::streamsize>(wanted));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        bytes.resize(start + got);
        ended = got < wanted;
    }
    WholeFileRead result;
    const bool readAllItSaid = said != 0 && bytes.size() >= said;
    if ((in.bad() && !readAllItSaid) || bytes.size() < std::min<uint64_t>(said, most)) {
        bytes.clear();
        result.failure = {FILE_FAILURE_READ, in.bad() ? errno : 0};
        return result;
    }
    result.read = true;
    result.goesOn = bytes.size() > limit;
    // A file that grew while it was read has no size to tell.
    if (said != 0 && said >= bytes.size()) {
        result.size = said;
    }
    return result;
}

} // namespace

// Not zeroed: the stream only ever reads what it wrote there.
WholeFile::WholeFile() : buffer(new char[READ_BUFFER_SIZE])
{
    // Taken only before the open by some libraries; others keep their own buffer.
    in.rdbuf()->pubsetbuf(buffer.get(), READ_BUFFER_SIZE);
}

FileFailure WholeFile::Open(const std::string& path)
{
    std::error_code error;
    // A folder opens for reading on some systems and then yields nothing.
    if (std::filesystem::is_directory(path, error)) {
        return {FILE_FAILURE_FOLDER};
    }
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in.is_open()) {
        const int openError = errno;
        const bool missing = !std::filesystem::exists(path, error) && !error;
        return missing ? FileFailure{FILE_FAILURE_MISSING} : FileFailure{FILE_FAILURE_OPEN, openError};
    }
    return {};
}

WholeFileRead WholeFile::Read(const std::string& path, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    WholeFile file;
    const FileFailure failure = file.Open(path);
    if (failure.kind != FILE_FAILURE_NONE) {
        WholeFileRead failed;
        failed.failure = failure;
        return failed;
    }
    return Read(file.in, limit, bytes);
}

// A string grown by doubling would take up to twice what it reads; the room
// reserved takes memory only as it is filled.
WholeFileRead WholeFile::Read(std::istream& in, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    bytes.reserve(limit + 1);
    return ReadUpTo(in, limit, bytes);
}
