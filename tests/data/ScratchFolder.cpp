#include "tests/data/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string CurrentTestFolderName()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("scratch-") + test->test_suite_name() + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
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

ScratchFolder::ScratchFolder() : folder(CurrentTestFolderName())
{
    MakeAllWritable(folder);
    fs::remove_all(folder);
    fs::create_directory(folder);
}

ScratchFolder::~ScratchFolder()
{
    MakeAllWritable(folder);
    std::error_code error;
    fs::remove_all(folder, error);
}

std::string ScratchFolder::Path(const std::string& name) const
{
    return (fs::path(folder) / name).string();
}

std::vector<std::string> ScratchFolder::Entries(const std::string& subfolder) const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder) / subfolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void MakeReadOnly(const std::string& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}
