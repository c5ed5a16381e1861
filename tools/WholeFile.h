#pragma once

#include <string>

// Reads a whole file into memory, with the reason when that fails.
class WholeFile {
public:
    // On failure bytes is left empty and reason says why, in a few words.
    static bool Read(const std::string& path, std::string& bytes, std::string& reason);
};
