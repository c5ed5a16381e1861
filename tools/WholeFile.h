#pragma once

#include <iosfwd>
#include <string>

// Reads a whole file into memory, with the reason when that fails.
class WholeFile {
public:
    // Opens the file for reading in binary mode; on failure reason says why, in a few words.
    static bool Open(const std::string& path, std::ifstream& in, std::string& reason);
    // On failure bytes is left empty and reason says why, in a few words.
    static bool Read(const std::string& path, std::string& bytes, std::string& reason);
};
