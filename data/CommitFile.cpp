#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

const int TEMP_NAME_ATTEMPTS = 100;
const std::size_t WRITE_PIECE_LIMIT = 1 << 20;
const char TEMP_NAME_END[] = ".tmp";

SystemError OverwriteAndFlush(SystemFile& file, const std::string& bytes, std::size_t count)
{
    SystemError error = WriteAt(file, 0, bytes.data(), count);
    if (error == 0) {
        error = SetLength(file, bytes.size());
    }
    return error == 0 ? FlushToDisk(file) : error;
}

std::string Suffix(unsigned long processId, int attempt)
{
    return "." + std::to_string(processId) + "-" + std::to_string(attempt) + TEMP_NAME_END;
}

// At most limit bytes of name, cut before a UTF-8 continuation byte so that no
// character is split. A name in another encoding may lose a byte more than needed.
std::string NamePrefix(const std::string& name, std::size_t limit)
{
    if (name.size() <= limit) {
        return name;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return name.substr(0, cut);
}

// The position where a run of at least one digit ends when read backwards from
// end, or npos where there is none.
std::size_t DigitsBefore(const std::string& text, std::size_t end)
{
    std::size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1]))) {
        --start;
    }
    return start == end ? std::string::npos : start;
}

// The length of the ".<digits>-<digits>.tmp" that ends name, or 0.
std::size_t TempSuffixLength(const std::string& name)
{
    const std::size_t endLength = sizeof TEMP_NAME_END - 1;
    if (name.size() <= endLength || name.compare(name.size() - endLength, endLength, TEMP_NAME_END) != 0) {
        return 0;
    }
    const std::size_t attemptStart = DigitsBefore(name, name.size() - endLength);
    if (attemptStart == std::string::npos || attemptStart == 0 || name[attemptStart - 1] != '-') {
        return 0;
    }
    const std::size_t processStart = DigitsBefore(name, attemptStart - 1);
    if (processStart == std::string::npos || processStart == 0 || name[processStart - 1] != '.') {
        return 0;
    }
    return name.size() - (processStart - 1);
}

} // namespace

TempFile::TempFile(std::string reason) : reason(std::move(reason))
{
}

TempFile::TempFile(std::string path, SystemFilePointer file, bool keepsOwnership)
    : path(std::move(path)), file(std::move(file)), keepsOwnership(keepsOwnership)
{
}

TempFile::TempFile(TempFile&& other) noexcept
    : path(std::move(other.path)), reason(std::move(other.reason)), file(std::move(other.file)),
      keepsOwnership(other.keepsOwnership), committed(other.committed)
{
}

TempFile::~TempFile()
{
    if (file != nullptr && !committed) {
        RemoveHeldFile(*file, path);
    }
}

bool TempFile::Written() const
{
    return file != nullptr;
}

const std::string& TempFile::Path() const
{
    return path;
}

const std::string& TempFile::Reason() const
{
    return reason;
}

bool TempFile::KeepsOwnership() const
{
    return keepsOwnership;
}

std::size_t NextPieceSize(std::size_t count, std::size_t written)
{
    return std::min(count - written, WRITE_PIECE_LIMIT);
}

FileCommitResult CommitFailure(FileCommitStatus status, SystemError error)
{
    return {status, SystemErrorReason(error)};
}

PathParts SplitPath(const std::string& path)
{
    const std::size_t separator = path.find_last_of(PATH_SEPARATORS);
    if (separator == std::string::npos) {
        return {{}, path};
    }
    // The root folder keeps its separator: "/" is a folder, "" is not.
    const std::size_t folderLength = separator == 0 || path[separator - 1] == ':' ? separator + 1 : separator;
    return {path.substr(0, folderLength), path.substr(separator + 1)};
}

std::string TempFileName(const std::string& targetName, unsigned long processId, int attempt, std::size_t nameLimit)
{
    const std::string suffix = Suffix(processId, attempt);
    if (suffix.size() >= nameLimit) {
        return {};
    }
    const std::string prefix = NamePrefix(targetName, nameLimit - suffix.size());
    return prefix.empty() ? std::string() : prefix + suffix;
}

bool IsTempFileNameOf(const std::string& name, const std::string& targetName, std::size_t nameLimit)
{
    const std::size_t suffixLength = TempSuffixLength(name);
    if (suffixLength == 0 || suffixLength >= name.size() || suffixLength >= nameLimit) {
        return false;
    }
    return name.compare(0, name.size() - suffixLength, NamePrefix(targetName, nameLimit - suffixLength)) == 0;
}

TempFile WriteTempFile(const std::string& targetPath, const std::string& bytes)
{
    const PathParts parts = SplitPath(targetPath);
    const std::size_t nameLimit = NameLengthLimit(parts.folder);
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        const std::string name = TempFileName(parts.name, CurrentProcessId(), attempt, nameLimit);
        if (name.empty()) {
            return TempFile("the folder's path leaves no room for the name of a temporary file");
        }
        const std::string tempPath = targetPath.substr(0, targetPath.size() - parts.name.size()) + name;
        NewFileWrite write = WriteNewFile(tempPath, targetPath, bytes);
        if (write.status == NEW_FILE_WRITTEN) {
            return TempFile(tempPath, std::move(write.file), write.keepsOwnership);
        }
        if (write.status == NEW_FILE_FAILED) {
            return TempFile(write.reason);
        }
    }
    return TempFile("every name tried for a temporary file is taken");
}

FileCommitResult SaveFileContent(const std::string& targetPath, const std::string& bytes)
{
    RemoveLeftoverTempFiles(targetPath);
    TempFile temp = WriteTempFile(targetPath, bytes);
    if (!temp.Written()) {
        return {FILE_COMMIT_WRITE_FAILED, temp.Reason()};
    }
    if (!temp.KeepsOwnership() || HasOtherNames(targetPath)) {
        return WriteInPlace(targetPath, bytes);
    }
    return CommitFile(temp, targetPath);
}

FileCommitResult WriteInPlace(const std::string& targetPath, const std::string& bytes)
{
    SystemError error = 0;
    const SystemFilePointer file = OpenForWritingInPlace(targetPath, error);
    if (file == nullptr) {
        return CommitFailure(FILE_COMMIT_REPLACE_FAILED, error);
    }
    std::uint64_t oldLength = 0;
    error = LengthOf(*file, oldLength);
    if (error != 0) {
        return CommitFailure(FILE_COMMIT_REPLACE_FAILED, error);
    }
    // The bytes beyond the old end go first: that is where a full disk shows,
    // before a byte of the old table has changed.
    const std::size_t overwritten = static_cast<std::size_t>(std::min<std::uint64_t>(oldLength, bytes.size()));
    error = WriteAt(*file, overwritten, bytes.data() + overwritten, bytes.size() - overwritten);
    if (error != 0) {
        SetLength(*file, oldLength);
        return CommitFailure(FILE_COMMIT_REPLACE_FAILED, error);
    }
    error = OverwriteAndFlush(*file, bytes, overwritten);
    return error == 0 ? FileCommitResult{FILE_COMMIT_DONE, {}} : CommitFailure(FILE_COMMIT_PARTLY_WRITTEN, error);
}
