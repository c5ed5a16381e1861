#include "data/FileSave.h"

#include "data/FileFailure.h"
#include "data/FilePath.h"
#include "data/FileTarget.h"
#include "data/SystemFile.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <utility>

namespace {

const char TEMP_FILE_END[] = ".lock";
const char WHOLE_COPY_END[] = ".whole";
// How long a second save of the same file waits for the first to end.
const std::chrono::milliseconds RUNNING_SAVE_WAIT(1000);
const std::chrono::milliseconds RUNNING_SAVE_RETRY_DELAY(50);

// How far a save came: TILESET_FILE_SAVED where it went on, else why it stopped.
struct SaveStep {
    TilesetFileStatus status;
    std::string reason;
};

const SaveStep DONE = {TILESET_FILE_SAVED, {}};

SaveStep Failed(TilesetFileStatus status, std::error_code error)
{
    return {status, SystemErrorText(error)};
}

// A save's temporary file, held while the save runs and removed when the object
// goes, unless it was put in place or kept as the whole copy of a cut-off write.
class TempFile {
public:
    TempFile(std::string path, SystemFile file) : path(std::move(path)), file(std::move(file)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile()
    {
        if (!kept) {
            file.Remove(path);
        }
    }

    const SystemFile& File() const { return file; }
    const std::string& Path() const { return path; }
    // Renamed to newPath, which it is removed from from then on.
    std::error_code RenameTo(const std::string& newPath)
    {
        const std::error_code error = file.RenameTo(path, newPath);
        if (!error) {
            path = newPath;
        }
        return error;
    }
    void Keep() { kept = true; }

private:
    std::string path;
    SystemFile file;
    bool kept = false;
};

void Reach(const SaveStageHook& reached, SaveStage stage)
{
    if (reached) {
        reached(stage);
    }
}

// Where a stage is to be reached, the write stops half-way to reach it.
std::error_code WriteReaching(const SystemFile& file, std::uint64_t offset, const char* bytes, std::size_t count,
                              const SaveStageHook& reached, SaveStage stage)
{
    const std::size_t first = reached ? count / 2 : count;
    std::error_code error = file.WriteAt(offset, bytes, first);
    if (!error && first < count) {
        reached(stage);
        error = file.WriteAt(offset + first, bytes + first, count - first);
    }
    return error;
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

std::string NameWithEnding(const std::string& targetName, const std::string& ending, std::size_t nameLimit)
{
    if (ending.size() >= nameLimit) {
        return {};
    }
    const std::string prefix = NamePrefix(targetName, nameLimit - ending.size());
    return prefix.empty() ? std::string() : prefix + ending;
}

using NameOfFileBeside = std::string (*)(const std::string& targetName, std::size_t nameLimit);

// The path of the file of that name beside the target; empty where there is no room for its name.
std::string BesideTarget(const std::string& targetPath, NameOfFileBeside nameOf)
{
    const std::string targetName = FilePath::NameOf(targetPath);
    const std::string name = nameOf(targetName, NameLengthLimit(FilePath::FolderOf(targetPath)));
    return name.empty() ? std::string() : targetPath.substr(0, targetPath.size() - targetName.size()) + name;
}

// Why a save writes nothing to this target at all.
std::optional<SaveStep> Refusal(const FileTarget& target)
{
    // A missing file is created; anything but a plain file is left alone, and
    // so is a path that cannot be looked up, which may name any of them.
    if (target.kind != FILE_KIND_PLAIN && target.kind != FILE_KIND_MISSING) {
        return SaveStep{TILESET_FILE_NOT_REPLACEABLE, RefusedKindReason(target.kind)};
    }
    switch (target.access) {
    case WRITE_ACCESS_ALLOWED:
        break;
    case WRITE_ACCESS_READ_ONLY:
        return SaveStep{TILESET_FILE_READ_ONLY, {}};
    case WRITE_ACCESS_DENIED:
        return Failed(TILESET_FILE_NOT_PERMITTED, std::make_error_code(std::errc::permission_denied));
    }
    if (target.path.empty()) {
        return SaveStep{TILESET_FILE_NOT_REPLACEABLE, "is a link to a missing file that cannot be created"};
    }
    if (target.likenessError) {
        return Failed(TILESET_FILE_WRITE_FAILED, target.likenessError);
    }
    return std::nullopt;
}

SaveStep NameTakenByAnotherFile(const std::string& path)
{
    return {TILESET_FILE_WRITE_FAILED, "the name of its temporary file, " + FilePath::NameOf(path) +
                                           ", is taken by something that no save left; move that away"};
}

// A file of the temporary file's name is a running save's, which is waited
// for, or a cut-off save's leftover, which is removed.
SaveStep TakeTempFile(const std::string& tempPath, const FileLikeness& likeness, SystemFile& file, bool& matched)
{
    const auto deadline = std::chrono::steady_clock::now() + RUNNING_SAVE_WAIT;
    UnheldFile found = UNHELD_FILE_NONE;
    do {
        const std::error_code error = SystemFile::CreateHeld(tempPath, likeness, file, matched);
        if (!error) {
            return DONE;
        }
        if (error != std::errc::file_exists) {
            return Failed(TILESET_FILE_WRITE_FAILED, error);
        }
        found = SystemFile::RemoveUnheld(tempPath);
        if (found == UNHELD_FILE_FOREIGN) {
            break;
        }
        if (found != UNHELD_FILE_LEFT) {
            std::this_thread::sleep_for(RUNNING_SAVE_RETRY_DELAY);
        }
    } while (std::chrono::steady_clock::now() < deadline);
    return found == UNHELD_FILE_HELD ? SaveStep{TILESET_FILE_SAVE_RUNNING, {}} : NameTakenByAnotherFile(tempPath);
}

std::error_code FillTempFile(const SystemFile& file, const std::string& bytes, const SaveStageHook& reached)
{
    const std::error_code error =
        WriteReaching(file, 0, bytes.data(), bytes.size(), reached, SAVE_STAGE_COPY_PART_WRITTEN);
    return error ? error : file.Flush();
}

// A missing file has nothing to write into, so it is always created by the rename.
bool Replaces(const FileTarget& target, bool matched, SaveWay way)
{
    if (target.kind == FILE_KIND_MISSING) {
        return true;
    }
    switch (way) {
    case SAVE_WAY_CHOSEN:
        break;
    case SAVE_WAY_REPLACE:
        return true;
    case SAVE_WAY_IN_PLACE:
        return false;
    }
    return target.newFileCanMatch && matched && !target.hasOtherNames;
}

// The rename is flushed before an earlier save's whole copy goes, which the
// replace has made stale.
SaveStep Replace(TempFile& temp, const std::string& targetPath)
{
    const std::error_code error = temp.File().RenameTo(temp.Path(), targetPath);
    if (error) {
        return Failed(TILESET_FILE_REPLACE_FAILED, error);
    }
    temp.Keep();
    const std::error_code flushError = temp.File().FlushName(targetPath);
    RemoveWholeCopy(targetPath);
    return flushError ? Failed(TILESET_FILE_NOT_CONFIRMED, flushError) : DONE;
}

std::error_code OverwriteAndFlush(const SystemFile& file, const std::string& bytes, std::size_t count,
                                  const SaveStageHook& reached)
{
    std::error_code error = WriteReaching(file, 0, bytes.data(), count, reached, SAVE_STAGE_IN_PLACE_PART_WRITTEN);
    if (!error) {
        error = file.SetLength(bytes.size());
    }
    return error ? error : file.Flush();
}

// The bytes beyond the old end go first: that is where a full disk shows,
// before a byte of the old file has changed.
SaveStep WriteInPlace(const std::string& targetPath, const std::string& bytes, const SaveStageHook& reached)
{
    SystemFile file;
    std::error_code error = SystemFile::OpenForWritingInPlace(targetPath, file);
    std::uint64_t oldLength = 0;
    if (error || (error = file.Length(oldLength))) {
        return Failed(TILESET_FILE_REPLACE_FAILED, error);
    }
    const std::size_t overwritten = static_cast<std::size_t>(std::min<std::uint64_t>(oldLength, bytes.size()));
    error = file.WriteAt(overwritten, bytes.data() + overwritten, bytes.size() - overwritten);
    if (error) {
        file.SetLength(oldLength);
        return Failed(TILESET_FILE_REPLACE_FAILED, error);
    }
    error = OverwriteAndFlush(file, bytes, overwritten, reached);
    return error ? Failed(TILESET_FILE_PARTLY_SAVED, error) : DONE;
}

// Marked whole by its rename, flushed: unconfirmed, the mark may not survive a
// crash, and the copy would be lost with the table, so the save stops there.
// A write into the target that is cut off leaves the whole copy, and so does
// one that failed and may have changed the file.
SaveStep WriteThroughWholeCopy(TempFile& temp, const std::string& targetPath, const std::string& bytes,
                               const SaveStageHook& reached)
{
    const std::string wholePath = WholeCopyPath(targetPath);
    if (wholePath.empty()) {
        return {TILESET_FILE_WRITE_FAILED, "the folder's path leaves no room for the name of the whole copy"};
    }
    if (SystemFile::RemoveUnheld(wholePath) == UNHELD_FILE_HELD) {
        return {TILESET_FILE_SAVE_RUNNING, {}};
    }
    std::error_code error = temp.RenameTo(wholePath);
    if (error || (error = temp.File().FlushName(wholePath))) {
        return Failed(TILESET_FILE_WRITE_FAILED, error);
    }
    Reach(reached, SAVE_STAGE_COPY_MARKED_WHOLE);
    const SaveStep written = WriteInPlace(targetPath, bytes, reached);
    if (written.status == TILESET_FILE_PARTLY_SAVED) {
        temp.Keep();
    } else if (written.status == TILESET_FILE_SAVED) {
        Reach(reached, SAVE_STAGE_IN_PLACE_FLUSHED);
    }
    return written;
}

SaveStep SaveToTarget(const FileTarget& target, const std::string& bytes, const SaveOptions& options)
{
    const std::string tempPath = BesideTarget(target.path, TempFileName);
    if (tempPath.empty()) {
        return {TILESET_FILE_WRITE_FAILED, "the folder's path leaves no room for the name of a temporary file"};
    }
    SystemFile file;
    bool matched = false;
    const SaveStep taken = TakeTempFile(tempPath, target.likeness, file, matched);
    if (taken.status != TILESET_FILE_SAVED) {
        return taken;
    }
    TempFile temp(tempPath, std::move(file));
    const std::error_code error = FillTempFile(temp.File(), bytes, options.reached);
    if (error) {
        return Failed(TILESET_FILE_WRITE_FAILED, error);
    }
    return Replaces(target, matched, options.way) ? Replace(temp, target.path)
                                                  : WriteThroughWholeCopy(temp, target.path, bytes, options.reached);
}

} // namespace

TilesetFileResult SaveFile(const std::string& path, const std::string& bytes, const SaveOptions& options)
{
    const FileTarget target = LookAtTarget(path);
    const std::optional<SaveStep> refusal = Refusal(target);
    const SaveStep step = refusal ? *refusal : SaveToTarget(target, bytes, options);
    return {step.status, path, step.reason};
}

std::string TempFileName(const std::string& targetName, std::size_t nameLimit)
{
    return NameWithEnding(targetName, TEMP_FILE_END, nameLimit);
}

std::string WholeCopyName(const std::string& targetName, std::size_t nameLimit)
{
    return NameWithEnding(targetName, WHOLE_COPY_END, nameLimit);
}

std::string WholeCopyPath(const std::string& targetPath)
{
    return BesideTarget(targetPath, WholeCopyName);
}

bool ReadWholeCopy(const std::string& targetPath, std::size_t limit, std::string& bytes)
{
    const std::string path = WholeCopyPath(targetPath);
    const SystemFile file = path.empty() ? SystemFile() : SystemFile::OpenUnheldForReading(path);
    if (!file.IsOpen()) {
        return false;
    }
    bytes.assign(limit + 1, '\0');
    std::size_t filled = 0;
    for (std::size_t done = 1; filled < bytes.size() && done != 0; filled += done) {
        if (file.ReadSome(&bytes[filled], bytes.size() - filled, done)) {
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
        SystemFile::RemoveUnheld(path);
    }
}
