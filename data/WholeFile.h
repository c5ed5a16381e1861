#pragma once

#include "data/FileFailure.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

// What a read up to a limit found besides the bytes.
struct WholeFileRead {
    // False when the file could not be opened or a read failed; failure says why.
    bool read = false;
    FileFailure failure;
    // The file holds more than the limit: the bytes are the limit and one byte more.
    bool goesOn = false;
    // The whole file's size, where the system knows it (a plain file, not a
    // pipe, nor a device or a file of /proc, which tell none).
    std::optional<uint64_t> size;

    // The size of the file whose first bytesRead bytes were read: those where
    // the file ended, else its size where the system told it.
    std::optional<uint64_t> FileSize(std::size_t bytesRead) const { return goesOn ? size : bytesRead; }
};

// A file read from its start, up to a limit, through a buffer large enough that
// the largest table takes a few system calls: with the stream's own buffer,
// the calls took longer than everything else the load does.
class WholeFile {
public:
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // At most limit bytes of the file and, where it goes on, one byte more, so
    // that no file (a device without end, a sparse file of many gigabytes)
    // takes more memory or time than the limit. On failure bytes is left empty.
    static WholeFileRead Read(const std::string& path, std::size_t limit, std::string& bytes);
    // The same from a stream, such as standard input.
    static WholeFileRead Read(std::istream& in, std::size_t limit, std::string& bytes);

private:
    WholeFile();
    // Opens the file for reading in binary mode.
    FileFailure Open(const std::string& path);

    // Declared before the stream, which uses it until the stream is gone.
    std::unique_ptr<char[]> buffer;
    std::ifstream in;
};
