#include "tools/ToolFiles.h"

#include "data/FileFailure.h"
#include "data/FileKind.h"
#include "data/FileSave.h"
#include "data/TilesetFile.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetFileProblem.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "tools/DumpNotation.h"

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char*) override {}
};

std::error_code ErrnoError()
{
    return {errno, std::generic_category()};
}

// A stream has no old content to keep and cannot be replaced: what goes into
// it is put together first and written in one piece.
bool WriteBytes(const std::string& bytes, std::ostream& stream, std::string& reason)
{
    errno = 0;
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.flush();
    if (!stream) {
        reason = "could not be written: " + SystemErrorText(ErrnoError());
        return false;
    }
    return true;
}

std::string TableBytes(const TilesetTable& table)
{
    std::ostringstream gathered;
    TilesetFile::Write(table, gathered);
    return gathered.str();
}

bool WriteToFile(const std::string& name, const std::string& bytes, std::string& reason)
{
    errno = 0;
    std::ofstream stream(name, std::ios::binary);
    if (!stream.is_open()) {
        reason = "could not be opened: " + SystemErrorText(ErrnoError());
        return false;
    }
    return WriteBytes(bytes, stream, reason);
}

bool IsStream(FileKind kind)
{
    return kind == FILE_KIND_PIPE || kind == FILE_KIND_DEVICE;
}

// A socket cannot be opened as a file, nor can a loop of links: the system's
// words for either ("No such device or address") would not say what it is.
bool IsRefused(FileKind kind)
{
    return kind == FILE_KIND_FOLDER || kind == FILE_KIND_SOCKET || kind == FILE_KIND_LINK_LOOP;
}

// Standard output, a pipe or a device is written into as the stream it is,
// and a folder, a socket or a loop of links refused: the result says whether
// the bytes went. None for a file, which the caller replaces in one step.
template <typename Bytes>
std::optional<bool> WriteUnlessFile(const std::string& name, Bytes bytes, std::ostream& out, std::string& reason)
{
    if (ToolFiles::IsStandardStream(name)) {
        return WriteBytes(bytes(), out, reason);
    }
    const FileKind kind = KindOfFile(name);
    if (IsRefused(kind)) {
        reason = RefusedKindReason(kind);
        return false;
    }
    if (IsStream(kind)) {
        return WriteToFile(name, bytes(), reason);
    }
    return std::nullopt;
}

} // namespace

bool ToolFiles::IsStandardStream(const std::string& name)
{
    return name == STANDARD_STREAM;
}

std::string ToolFiles::Shown(const std::string& name)
{
    return IsStandardStream(name) ? "standard input" : DumpNotation::Unquoted(name);
}

std::string ToolFiles::ShownOutput(const std::string& name)
{
    return IsStandardStream(name) ? "standard output" : DumpNotation::Unquoted(name);
}

std::string ToolFiles::Refusal(const std::string& name)
{
    if (IsStandardStream(name)) {
        return {};
    }
    const FileKind kind = KindOfFile(name);
    return IsRefused(kind) ? RefusedKindReason(kind) : std::string();
}

std::string ToolFiles::CutOffSaveProblem(const std::string& name)
{
    if (IsStandardStream(name)) {
        return {};
    }
    const std::optional<CutOffSave> cutOff = TilesetFile::FindCutOffSave(name);
    return cutOff ? "a save was cut off while writing into the table; " + DumpNotation::Unquoted(cutOff->copyPath) +
                        " holds the whole table that save was writing"
                  : std::string();
}

WholeFileRead ToolFiles::Read(const std::string& name, std::size_t limit, std::istream& in, std::string& bytes,
                              std::string& reason)
{
    reason = Refusal(name);
    if (!reason.empty()) {
        return {};
    }
    const WholeFileRead read =
        IsStandardStream(name) ? WholeFile::Read(in, limit, bytes) : WholeFile::Read(name, limit, bytes);
    if (!read.read) {
        reason = TilesetFileResult::ReadFailed(read.failure, name).ToolWords();
    }
    return read;
}

bool ToolFiles::TableFromBytes(const std::string& bytes, TilesetTable& table, std::string& reason)
{
    IgnoredNames names;
    const TilesetFileResult result = TilesetFile::Parse(bytes, {}, table, names);
    if (result.Status() == TILESET_FILE_TOO_MANY_SLOTS) {
        reason = TooManySlotsWords(TOO_MANY_SLOTS_TOOL, result.SlotCount());
        return false;
    }
    return true;
}

bool ToolFiles::Load(const std::string& name, std::istream& in, TilesetTable& table, std::string& reason)
{
    std::string bytes;
    const WholeFileRead read = Read(name, TilesetFileFormat::LARGEST_FILE_SIZE, in, bytes, reason);
    return read.read && TableFromBytes(bytes, table, reason);
}

bool ToolFiles::Write(const std::string& name, TilesetTable& table, std::ostream& out, std::string& reason)
{
    const std::optional<bool> streamed = WriteUnlessFile(
        name, [&table] { return TableBytes(table); }, out, reason);
    if (streamed) {
        return *streamed;
    }
    const std::string cutOff = CutOffSaveProblem(name);
    if (!cutOff.empty()) {
        reason = "is not written: " + cutOff +
                 ". Remove that copy to keep the table as it is, or put it in place of the table, then run again";
        return false;
    }
    const TilesetFileResult result = TilesetFile::Save(name, table);
    reason = result.Succeeded() ? std::string() : result.ToolWords();
    return result.Succeeded();
}

bool ToolFiles::WriteText(const std::string& name, const std::string& text, std::ostream& out, std::string& reason)
{
    const std::optional<bool> streamed = WriteUnlessFile(
        name, [&text] { return text; }, out, reason);
    if (streamed) {
        return *streamed;
    }
    const TilesetFileResult result = SaveFile(name, text);
    reason = result.Succeeded() ? std::string() : result.ToolWords();
    return result.Succeeded();
}
