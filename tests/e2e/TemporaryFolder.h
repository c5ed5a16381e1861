#pragma once

#include <string>

// A new folder under the system's temporary folder, removed with the files in
// it when the object goes. The programs under test are started inside it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Absolute, without a trailing separator; empty if no folder could be made.
    const std::string& Path() const { return path; }
    // false if the file could not be written whole.
    bool WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string path;
};
