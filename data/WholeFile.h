#pragma once

#include <fstream>
#include <memory>
#include <string>

enum WholeFileOpenStatus {
    WHOLE_FILE_OPENED,
    WHOLE_FILE_MISSING,
    WHOLE_FILE_IS_FOLDER,
    WHOLE_FILE_OPEN_FAILED,
};

// A file read from its start to its end, through a buffer large enough that
// the largest table takes a few system calls: with the stream's own buffer,
// the calls took longer than everything else the load does.
class WholeFile {
public:
    WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Opens the file for reading in binary mode.
    WholeFileOpenStatus Open(const std::string& path);
    std::istream& Stream();
    // The system's errno value for WHOLE_FILE_OPEN_FAILED.
    int OpenError() const;

    // A failed open in a few words, e.g. "no such file".
    static std::string OpenFailure(WholeFileOpenStatus status, int openError);
    // On failure bytes is left empty and reason says why, in a few words.
    static bool Read(const std::string& path, std::string& bytes, std::string& reason);

private:
    // Declared before the stream, which uses it until the stream is gone.
    std::unique_ptr<char[]> buffer;
    std::ifstream in;
    int openError = 0;
};
