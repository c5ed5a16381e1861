#pragma once

#include <string>
#include <vector>

// A new folder of the test's own under the system's temporary folder, removed
// with everything in it when the object goes. Files are made inside it, and
// the programs under test are started in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Absolute, without a trailing separator; empty if no folder could be made.
    const std::string& Path() const { return path; }
    // The absolute path of name inside the folder.
    std::string Path(const std::string& name) const;
    // The names in the folder, or in a folder inside it, sorted.
    std::vector<std::string> Entries(const std::string& subfolder = {}) const;

private:
    std::string path;
};
