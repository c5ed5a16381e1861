#pragma once

#include <string>

// Whole files read and written as bytes; a failure throws std::runtime_error.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void MakeReadOnly(const std::string& path);
