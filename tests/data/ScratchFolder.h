#pragma once

#include <string>
#include <vector>

// A folder of the running test's own beside the test program, removed with
// everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const;
    // The names in the folder, or in a folder inside it, sorted.
    std::vector<std::string> Entries(const std::string& subfolder = {}) const;

private:
    std::string folder;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void MakeReadOnly(const std::string& path);
