#include "tests/support/TemporaryFolder.h"

#include <algorithm>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

// Enough tries for every folder a run of tests leaves behind after a crash.
const int NAME_TRIES = 1000;

// Where the system keeps temporary files; empty if it names none.
fs::path TemporaryBase()
{
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    return error ? fs::path() : base;
}

// Read-only files would keep the removal below from deleting them on Windows.
void MakeAllWritable(const fs::path& folder)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
    }
}

} // namespace

TemporaryFolder::TemporaryFolder()
{
    const fs::path base = TemporaryBase();
    if (base.empty()) {
        return;
    }
    // A random start keeps test programs that run side by side from trying the
    // same names; creating the folder is what makes a name this object's own.
    const unsigned start = std::random_device()() % 1000000u;
    for (int serial = 0; serial < NAME_TRIES; ++serial) {
        const fs::path candidate = base / ("kestrivane-test-" + std::to_string(start + serial));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path = candidate.string();
            return;
        }
        if (error) {
            return;
        }
    }
}

TemporaryFolder::~TemporaryFolder()
{
    if (path.empty()) {
        return;
    }
    MakeAllWritable(path);
    std::error_code error;
    fs::remove_all(path, error);
}

std::string TemporaryFolder::Path(const std::string& name) const
{
    return (fs::path(path) / name).string();
}

std::vector<std::string> TemporaryFolder::Entries(const std::string& subfolder) const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(path) / subfolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
