#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

const int TEMP_NAME_ATTEMPTS = 100;
const std::size_t WRITE_PIECE_LIMIT = 1 << 20;
const char TEMP_NAME_END[] = ".tmp";
const char WHOLE_COPY_END[] = ".whole";

// Where a stage is to be reached, the write stops half-way to reach it.
SystemError WriteReaching(SystemFile& file, std::uint64_t offset, const char* bytes, std::size_t count,
                          SaveStageHook reached, SaveStage stage)
{
    const std::size_t first = reached != nullptr ? count / 2 : count;
    SystemError error = WriteAt(file, offset, bytes, first);
    if (error == 0 && first < count) {
        reached(stage);
        error = WriteAt(file, offset + first, bytes + first, count - first);
    }
    return error;
}

SystemError OverwriteAndFlush(SystemFile& file, const std::string& bytes, std::size_t count, SaveStageHook reached)
{
    SystemError error = WriteReaching(file, 0, bytes.data(), count, reached, SAVE_STAGE_IN_PLACE_PART_WRITTEN);
    if (error == 0) {
        error = SetLength(file, bytes.size());
    }
    return error == 0 ? FlushToDisk(file) : error;
}

void Reach(SaveStageHook reached, SaveStage stage)
{
    if (reached != nullptr) {
        reached(stage);
    }
}

std::string BesideTarget(const std::string& targetPath, const std::string& name)
{
    return targetPath.substr(0, targetPath.size() - SplitPath(targetPath).name.size()) + name;
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

// The suffixed name, its prefix shortened to fit nameLimit; empty where no prefix fits.
std::string NameWithSuffix(const std::string& targetName, const std::string& suffix, std::size_t nameLimit)
{
    if (suffix.size() >= nameLimit) {
        return {};
    }
    const std::string prefix = NamePrefix(targetName, nameLimit - suffix.size());
    return prefix.empty() ? std::string() : prefix + suffix;
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

void TempFile::Keep()
{
    committed = true;
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
    return NameWithSuffix(targetName, Suffix(processId, attempt), nameLimit);
}

std::string WholeCopyName(const std::string& targetName, std::size_t nameLimit)
{
    return NameWithSuffix(targetName, WHOLE_COPY_END, nameLimit);
}

bool IsTempFileNameOf(const std::string& name, const std::string& targetName, std::size_t nameLimit)
{
    const std::size_t suffixLength = TempSuffixLength(name);
    if (suffixLength == 0 || suffixLength >= name.size() || suffixLength >= nameLimit) {
        return false;
    }
    return name.compare(0, name.size() - suffixLength, NamePrefix(targetName, nameLimit - suffixLength)) == 0;
}

namespace {

// A failed write leaves no file.
TempFile FillTempFile(NewFile created, const std::string& tempPath, const std::string& bytes, SaveStageHook reached)
{
    SystemError error =
        WriteReaching(*created.file, 0, bytes.data(), bytes.size(), reached, SAVE_STAGE_COPY_PART_WRITTEN);
    if (error == 0) {
        error = FlushToDisk(*created.file);
    }
    if (error != 0) {
        RemoveHeldFile(*created.file, tempPath);
        return TempFile(SystemErrorReason(error));
    }
    return TempFile(tempPath, std::move(created.file), created.keepsOwnership);
}

TempFile WriteTempFileReaching(const std::string& targetPath, const std::string& bytes, SaveStageHook reached)
{
    const PathParts parts = SplitPath(targetPath);
    const std::size_t nameLimit = NameLengthLimit(parts.folder);
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        const std::string name = TempFileName(parts.name, CurrentProcessId(), attempt, nameLimit);
        if (name.empty()) {
            return TempFile("the folder's path leaves no room for the name of a temporary file");
        }
        const std::string tempPath = BesideTarget(targetPath, name);
        NewFile created = CreateHeldFile(tempPath, targetPath);
        if (created.status == NEW_FILE_FAILED) {
            return TempFile(created.reason);
        }
        if (created.status == NEW_FILE_CREATED) {
            return FillTempFile(std::move(created), tempPath, bytes, reached);
        }
    }
    return TempFile("every name tried for a temporary file is taken");
}

} // namespace

TempFile WriteTempFile(const std::string& targetPath, const std::string& bytes)
{
    return WriteTempFileReaching(targetPath, bytes, nullptr);
}

FileCommitResult CommitFile(TempFile& temp, const std::string& targetPath)
{
    const SystemError error = RenameHeldFile(*temp.file, temp.path, targetPath);
    if (error != 0) {
        return CommitFailure(FILE_COMMIT_REPLACE_FAILED, error);
    }
    temp.committed = true;
    const SystemError flushError = FlushRename(*temp.file, targetPath);
    return flushError == 0 ? FileCommitResult{FILE_COMMIT_DONE, {}}
                           : CommitFailure(FILE_COMMIT_NOT_CONFIRMED, flushError);
}

// Unconfirmed, the mark may not survive a crash, and the copy would be lost
// with the table: the save stops there, and the copy goes.
FileCommitResult MarkWhole(TempFile& temp, const std::string& wholePath)
{
    SystemError error = RenameHeldFile(*temp.file, temp.path, wholePath);
    if (error == 0) {
        temp.path = wholePath;
        error = FlushRename(*temp.file, wholePath);
    }
    return error == 0 ? FileCommitResult{FILE_COMMIT_DONE, {}} : CommitFailure(FILE_COMMIT_WRITE_FAILED, error);
}

std::string WholeCopyPath(const std::string& targetPath)
{
    const PathParts parts = SplitPath(targetPath);
    const std::string name = WholeCopyName(parts.name, NameLengthLimit(parts.folder));
    return name.empty() ? std::string() : BesideTarget(targetPath, name);
}

bool ReadWholeCopy(const std::string& targetPath, std::size_t limit, std::string& bytes)
{
    const std::string path = WholeCopyPath(targetPath);
    const SystemFilePointer file = path.empty() ? nullptr : OpenUnheldForReading(path);
    if (file == nullptr) {
        return false;
    }
    bytes.assign(limit + 1, '\0');
    std::size_t filled = 0;
    for (std::size_t done = 1; filled < bytes.size() && done != 0; filled += done) {
        if (ReadSome(*file, &bytes[filled], bytes.size() - filled, done) != 0) {
            return false;
        }
    }
    bytes.resize(filled);
    return true;
}

void RemoveWholeCopy(const std::string& targetPath)
{
    const std::string path = WholeCopyPath(targetPath);
    if (!path.empty()) {
        RemoveUnheldFile(path);
    }
}

namespace {

// A write into the target that is cut off leaves the whole copy beside it,
// told from a temporary file cut short by its name; a write that failed and
// may have changed the file keeps it too. A failure before a byte of the
// target changed removes it.
FileCommitResult WriteThroughWholeCopy(TempFile& temp, const std::string& targetPath, const std::string& bytes,
                                       SaveStageHook reached)
{
    const std::string wholePath = WholeCopyPath(targetPath);
    if (wholePath.empty()) {
        return {FILE_COMMIT_WRITE_FAILED, "the folder's path leaves no room for the name of the whole copy"};
    }
    const FileCommitResult marked = MarkWhole(temp, wholePath);
    if (marked.status != FILE_COMMIT_DONE) {
        return marked;
    }
    Reach(reached, SAVE_STAGE_COPY_MARKED_WHOLE);
    const FileCommitResult written = WriteInPlace(targetPath, bytes, reached);
    if (written.status == FILE_COMMIT_PARTLY_WRITTEN) {
        temp.Keep();
    } else if (written.status == FILE_COMMIT_DONE) {
        Reach(reached, SAVE_STAGE_IN_PLACE_FLUSHED);
    }
    return written;
}

} // namespace

// A replace leaves no cut-off save to choose about: an earlier save's whole copy goes with it.
FileCommitResult SaveFileContent(const std::string& targetPath, const std::string& bytes, SaveStageHook reached)
{
    RemoveLeftoverTempFiles(targetPath);
    TempFile temp = WriteTempFileReaching(targetPath, bytes, reached);
    if (!temp.Written()) {
        return {FILE_COMMIT_WRITE_FAILED, temp.Reason()};
    }
    if (!temp.KeepsOwnership() || HasOtherNames(targetPath)) {
        return WriteThroughWholeCopy(temp, targetPath, bytes, reached);
    }
    const FileCommitResult commit = CommitFile(temp, targetPath);
    if (commit.status != FILE_COMMIT_REPLACE_FAILED) {
        RemoveWholeCopy(targetPath);
    }
    return commit;
}

FileCommitResult WriteInPlace(const std::string& targetPath, const std::string& bytes, SaveStageHook reached)
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
    error = OverwriteAndFlush(*file, bytes, overwritten, reached);
    return error == 0 ? FileCommitResult{FILE_COMMIT_DONE, {}} : CommitFailure(FILE_COMMIT_PARTLY_WRITTEN, error);
}
