#include "tests/e2e/TemporaryFolder.h"

#include "app/Win32.h"

#include <fstream>

namespace {

// Enough tries for every folder a run of tests leaves behind after a crash.
const int NAME_TRIES = 1000;

std::string TemporaryBase()
{
    char base[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, base);
    return length > 0 && length < MAX_PATH ? std::string(base, length) : std::string();
}

} // namespace

TemporaryFolder::TemporaryFolder()
{
    const std::string base = TemporaryBase() + "kestrivane-test-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int serial = 0; serial < NAME_TRIES; ++serial) {
        const std::string candidate = base + std::to_string(serial);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return;
        }
    }
}

TemporaryFolder::~TemporaryFolder()
{
    if (path.empty()) {
        return;
    }
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                // A test may have left a file read-only.
                const std::string file = path + "\\" + found.cFileName;
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool TemporaryFolder::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(path + "\\" + name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}
