#include "tools/ToolFiles.h"

#include "data/CommitFile.h"
#include "data/FileFailure.h"
#include "data/FileKind.h"
#include "data/TilesetFile.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"

#include <cerrno>
#include <fstream>
#include <sstream>

namespace {

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char*) override {}
};

// Each with its reason, and where the file may not be as it was, what it may hold.
std::string SaveFailure(const TilesetFileResult& result)
{
    const std::string reason = result.Reason().empty() ? "" : ": " + result.Reason();
    switch (result.Status()) {
    case TILESET_FILE_READ_ONLY:
        return "could not be written: the file is read-only";
    case TILESET_FILE_REPLACE_FAILED:
        return "could not be put in place" + reason;
    case TILESET_FILE_PARTLY_SAVED:
        return "could not be written whole" + reason + "; it may hold part of the new table";
    case TILESET_FILE_NOT_CONFIRMED:
        return "was written, but the system could not confirm that it reached the disk" + reason;
    default:
        return "could not be written" + reason;
    }
}

// A stream has no old content to keep and cannot be replaced: what is
// written is put together first and goes into it in one piece.
bool WriteStream(const std::string& bytes, std::ostream& stream, std::string& reason)
{
    errno = 0;
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.flush();
    if (!stream) {
        reason = "could not be written: " + SystemErrorText(errno);
        return false;
    }
    return true;
}

bool IsStream(FileKind kind)
{
    return kind == FILE_KIND_PIPE || kind == FILE_KIND_DEVICE || kind == FILE_KIND_SOCKET;
}

bool WriteStreamFile(const std::string& name, const std::string& bytes, std::string& reason)
{
    errno = 0;
    std::ofstream stream(name, std::ios::binary);
    if (!stream.is_open()) {
        reason = "could not be opened: " + SystemErrorText(errno);
        return false;
    }
    return WriteStream(bytes, stream, reason);
}

std::string TableBytes(const TilesetTable& table)
{
    std::ostringstream gathered;
    TilesetFile::Write(table, gathered);
    return gathered.str();
}

} // namespace

bool ToolFiles::IsStandardStream(const std::string& name)
{
    return name == STANDARD_STREAM;
}

std::string ToolFiles::Shown(const std::string& name)
{
    return IsStandardStream(name) ? "standard input" : name;
}

WholeFileRead ToolFiles::Read(const std::string& name, std::size_t limit, std::istream& in, std::string& bytes)
{
    return IsStandardStream(name) ? WholeFile::Read(in, limit, bytes) : WholeFile::Read(name, limit, bytes);
}

bool ToolFiles::TableFromBytes(const std::string& bytes, TilesetTable& table, std::string& reason)
{
    IgnoredNames names;
    const TilesetFileResult result = TilesetFile::Parse(bytes, {}, table, names);
    if (result.Status() == TILESET_FILE_TOO_MANY_SLOTS) {
        reason = "has " + std::to_string(result.SlotCount()) + " slots per tileset, more than the " +
                 std::to_string(SLOTS_PER_TILESET) + " a tileset holds";
        return false;
    }
    return true;
}

bool ToolFiles::Load(const std::string& name, std::istream& in, TilesetTable& table, std::string& reason)
{
    std::string bytes;
    const WholeFileRead read = Read(name, TilesetFileFormat::LARGEST_FILE_SIZE, in, bytes);
    if (!read.read) {
        reason = read.failure.Text();
        return false;
    }
    return TableFromBytes(bytes, table, reason);
}

bool ToolFiles::Write(const std::string& name, TilesetTable& table, std::ostream& out, std::string& reason)
{
    if (IsStandardStream(name)) {
        return WriteStream(TableBytes(table), out, reason);
    }
    if (IsStream(KindOfFile(name))) {
        return WriteStreamFile(name, TableBytes(table), reason);
    }
    const TilesetFileResult result = TilesetFile::Save(name, table);
    if (!result.Succeeded()) {
        reason = SaveFailure(result);
        return false;
    }
    return true;
}

bool ToolFiles::WriteText(const std::string& name, const std::string& text, std::ostream& out, std::string& reason)
{
    if (IsStandardStream(name)) {
        return WriteStream(text, out, reason);
    }
    const FileKind kind = KindOfFile(name);
    if (IsStream(kind)) {
        return WriteStreamFile(name, text, reason);
    }
    if (kind != FILE_KIND_PLAIN && kind != FILE_KIND_MISSING) {
        reason = RefusedKindReason(kind);
        return false;
    }
    const FileCommitResult result = SaveFileContent(name, text);
    if (result.status != FILE_COMMIT_DONE) {
        reason = "could not be written: " + result.reason;
        return false;
    }
    return true;
}
