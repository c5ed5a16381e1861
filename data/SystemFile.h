#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
using NativeFileHandle = void*;
#else
using NativeFileHandle = int;
#endif

// What a new file takes over from the file it is to replace, as far as the
// system lets it: on Windows its access list and attributes, on POSIX systems
// its owner, group and permissions. A missing file gives the defaults.
struct FileLikeness {
    bool exists = false;
#ifdef _WIN32
    // Empty for the folder's defaults.
    std::vector<char> security;
    unsigned long attributes = 0;
#else
    unsigned mode = 0;
    unsigned owner = 0;
    unsigned group = 0;
#endif
};

// What is at the name of a save's temporary file or whole copy.
enum UnheldFile {
    UNHELD_FILE_NONE,
    // A plain file that no running save holds, left by a save that was cut off.
    UNHELD_FILE_LEFT,
    // A running save's own file.
    UNHELD_FILE_HELD,
    // Something that no save made: a link, a folder, or another kind of file.
    UNHELD_FILE_FOREIGN,
};

// A file opened by a save, closed when the object goes. A held file is a
// running save's own: on POSIX systems under a lock, on Windows open without
// delete sharing, so that no other save takes it for a cut-off save's leftover.
class SystemFile {
public:
    SystemFile();
    SystemFile(SystemFile&& other) noexcept;
    SystemFile& operator=(SystemFile&& other) noexcept;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;
    ~SystemFile();

    // Creates the file at path, which must not exist yet (else
    // std::errc::file_exists), held, with what likeness gives it; matched tells
    // whether it took all of that, so that it may take the old file's place.
    static std::error_code CreateHeld(const std::string& path, const FileLikeness& likeness, SystemFile& file,
                                      bool& matched);
    // The plain file at path, opened for writing into it with other writers kept
    // out where the system can; other programs' handles are waited out for
    // about a second, as a rename waits for them.
    static std::error_code OpenForWritingInPlace(const std::string& path, SystemFile& file);
    // The plain file at path, opened for reading where no running save holds it
    // and it is no link: else not open.
    static SystemFile OpenUnheldForReading(const std::string& path);
    // Removes the plain file at path, never what a link leads to, unless a
    // running save holds it; tells what was there.
    static UnheldFile RemoveUnheld(const std::string& path);

    bool IsOpen() const;
    std::error_code Length(std::uint64_t& length) const;
    std::error_code WriteAt(std::uint64_t offset, const char* bytes, std::size_t count) const;
    std::error_code SetLength(std::uint64_t length) const;
    std::error_code Flush() const;
    // Reads at most count bytes where the last read ended; done is 0 at the end.
    std::error_code ReadSome(char* bytes, std::size_t count, std::size_t& done) const;
    // Renames this held file from path to newPath, replacing what has that name
    // (on Windows after waiting for other programs' handles).
    std::error_code RenameTo(const std::string& path, const std::string& newPath) const;
    // Flushes to the disk the rename of this file to path, where the system can.
    std::error_code FlushName(const std::string& path) const;
    // Removes this held file, which is at path.
    void Remove(const std::string& path) const;

private:
    explicit SystemFile(NativeFileHandle handle);

    NativeFileHandle handle;
};

// The longest name, in bytes, that a file in folder may have through this program.
std::size_t NameLengthLimit(const std::string& folder);
