#include "data/TilesetFile.h"

#include "data/CommitFile.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "data/WholeFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <utility>

namespace {

using Format = TilesetFileFormat;

const std::size_t WRITE_PIECE_SIZE = 64 * 1024;

// The bytes from the stream's position to its end, or -1 where the stream cannot tell.
std::streamoff RemainingLength(std::istream& in)
{
    const std::streampos start = in.tellg();
    if (start == std::streampos(-1)) {
        in.clear();
        return -1;
    }
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    in.clear();
    in.seekg(start);
    return end == std::streampos(-1) ? -1 : static_cast<std::streamoff>(end - start);
}

// Reads the file and tells a read error from its end. The stream's own read
// turns an exception of its buffer (libstdc++'s file buffer throws when the
// system's read fails) into badbit; a buffer that takes a failed read for the
// end of the file is caught by the length the stream gave before the first read.
class FieldReader {
public:
    explicit FieldReader(std::istream& in) : in(in), remaining(RemainingLength(in)) {}

    // The number of bytes read: fewer than count at the end of the file or after
    // a read error, and none once either has happened.
    std::streamsize Read(char* bytes, std::streamsize count)
    {
        errno = 0;
        in.read(bytes, count);
        const std::streamsize got = in.gcount();
        remaining -= remaining >= 0 ? got : 0;
        if (got < count && !failed) {
            failed = in.bad() || remaining > 0;
            error = errno;
        }
        return got;
    }

    bool ReadWhole(char* bytes, std::streamsize count) { return Read(bytes, count) == count; }

    // True after a read error, as against the end of the file.
    bool Failed() const { return failed; }
    std::string Reason() const
    {
        return in.bad() ? Format::SystemErrorText(error) : "fewer bytes could be read than the file holds";
    }

private:
    std::istream& in;
    std::streamoff remaining;
    bool failed = false;
    int error = 0;
};

// Only a field read whole counts: nothing from a failed stream is taken as data.
bool ReadField(FieldReader& reader, char (&field)[Format::FIELD_SIZE])
{
    if (!reader.ReadWhole(field, Format::FIELD_SIZE)) {
        return false;
    }
    Format::CleanField(field);
    return true;
}

uint8_t ReadAmbient(FieldReader& reader)
{
    char ambient = 0;
    return reader.ReadWhole(&ambient, 1) ? static_cast<uint8_t>(ambient) : 0;
}

// The slot fields come straight into the record in one read and are cleaned
// where they lie. A field cut short by the end of the file is not taken, and
// its slot stays empty.
void ReadSlots(FieldReader& reader, uint32_t slotCount, TilesetRecord& record)
{
    const std::streamsize bytesRead =
        reader.Read(record.slots[0], static_cast<std::streamsize>(slotCount * Format::FIELD_SIZE));
    const int fieldsRead = static_cast<int>(bytesRead / static_cast<std::streamsize>(Format::FIELD_SIZE));
    Format::CleanSlots(fieldsRead, record.slots);
    if (fieldsRead < static_cast<int>(slotCount)) {
        std::memset(record.slots[fieldsRead], 0, Format::FIELD_SIZE);
    }
}

// Stops at the first name that cannot be read whole; the records from there on stay empty.
void ReadEntries(FieldReader& reader, uint32_t slotCount, TilesetTable& table, TilesetNameSink& sink)
{
    char nameField[Format::FIELD_SIZE];
    for (int i = 0; i < table.RecordCount() && ReadField(reader, nameField); ++i) {
        sink.AddName(nameField);
        TilesetRecord& record = table.RecordAt(i);
        record.ambient = ReadAmbient(reader);
        Format::WidenName(nameField, record.name);
        ReadSlots(reader, slotCount, record);
    }
}

// The entries that follow a read error would be saved back empty.
TilesetFileResult ReadFailed(const FieldReader& reader, const std::string& fileName, TilesetTable& table)
{
    table.SetRecordCount(0);
    return {TILESET_FILE_READ_FAILED, fileName, reader.Reason()};
}

TilesetFileResult OpenAndRead(const std::string& path, TilesetTable& table, TilesetNameSink& sink)
{
    WholeFile file;
    switch (file.Open(path)) {
    case WHOLE_FILE_OPENED:
        break;
    case WHOLE_FILE_MISSING:
        return {TILESET_FILE_NOT_FOUND, path};
    case WHOLE_FILE_IS_FOLDER:
        return {TILESET_FILE_OPEN_FAILED, path, Format::SystemErrorText(EISDIR)};
    case WHOLE_FILE_OPEN_FAILED:
        return {TILESET_FILE_OPEN_FAILED, path, Format::SystemErrorText(file.OpenError())};
    }
    return TilesetFile::Read(file.Stream(), path, table, sink);
}

// Checked before writing, not left to the replace: a rename over a read-only
// file succeeds on POSIX systems and under Wine.
bool IsReadOnly(const std::string& path)
{
    using std::filesystem::perms;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return !error && std::filesystem::is_regular_file(status) &&
           (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

// Removes the temporary file on every way out of a save that did not put it in place.
class TempFileGuard {
public:
    explicit TempFileGuard(std::string path) : path(std::move(path)) {}
    ~TempFileGuard()
    {
        if (armed) {
            std::error_code error;
            std::filesystem::remove(path, error);
        }
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

    void Release() { armed = false; }

private:
    std::string path;
    bool armed = true;
};

// A table reached through a link, as a mod manager makes, stays a link: the
// new file is written beside the link's target and replaces the target. The
// bytes are gathered first and written by the system's own calls, whose
// failures give their reason: a full disk under Wine leaves the C library's
// errno at EINVAL.
TilesetFileResult WriteAndCommit(const std::string& path, const TilesetTable& table)
{
    std::ostringstream bytes;
    if (!TilesetFile::Write(table, bytes)) {
        return {TILESET_FILE_WRITE_FAILED, path, "the table could not be gathered in memory"};
    }
    const std::string targetPath = ReplacedFilePath(path);
    const TempFileResult temp = WriteTempFile(targetPath, bytes.str());
    if (!temp.written) {
        return {TILESET_FILE_WRITE_FAILED, path, temp.reason};
    }
    TempFileGuard tempFile(temp.path);
    const FileCommitResult commit = CommitFile(temp.path, targetPath);
    if (!commit.done) {
        return {TILESET_FILE_REPLACE_FAILED, path, commit.reason};
    }
    tempFile.Release();
    return {TILESET_FILE_SAVED, path};
}

} // namespace

TilesetFileResult TilesetFile::Load(TilesetTable& table, TilesetNameSink& sink)
{
    return Load(TILESET_FILE_NAME, table, sink);
}

TilesetFileResult TilesetFile::Save(TilesetTable& table)
{
    return Save(TILESET_FILE_NAME, table);
}

TilesetFileResult TilesetFile::Load(const std::string& path, TilesetTable& table, TilesetNameSink& sink)
{
    const TilesetFileResult result = OpenAndRead(path, table, sink);
    if (!result.Succeeded() && !result.FileNotFound()) {
        table.MarkLoadFailed();
    }
    return result;
}

TilesetFileResult TilesetFile::Save(const std::string& path, TilesetTable& table)
{
    if (table.LoadFailed()) {
        return {TILESET_FILE_NOT_LOADED, path};
    }
    if (IsReadOnly(path)) {
        return {TILESET_FILE_READ_ONLY, path};
    }
    const TilesetFileResult result = WriteAndCommit(path, table);
    if (result.Succeeded()) {
        table.modified = false;
    }
    return result;
}

TilesetFileResult TilesetFile::Read(std::istream& in, const std::string& fileName, TilesetTable& table,
                                    TilesetNameSink& sink)
{
    if (table.RecordCount() != 0) {
        std::abort();
    }
    FieldReader reader(in);
    char headerBytes[Format::HEADER_SIZE];
    const std::streamsize headerRead = reader.Read(headerBytes, Format::HEADER_SIZE);
    if (reader.Failed()) {
        return ReadFailed(reader, fileName, table);
    }
    if (headerRead < static_cast<std::streamsize>(Format::HEADER_SIZE)) {
        // A file cut inside the header still says how many tilesets it has, all empty.
        table.SetRecordCount(headerRead > 0 ? static_cast<unsigned char>(headerBytes[0]) : 0);
        return {TILESET_FILE_LOADED, fileName};
    }
    const Format::Header header = Format::DecodeHeader(headerBytes);
    // Reading part of each entry would drop the other slots at the next save.
    if (header.slotsPerTileset > SLOTS_PER_TILESET) {
        return {TILESET_FILE_TOO_MANY_SLOTS, fileName, {}, header.slotsPerTileset};
    }
    table.SetRecordCount(header.tilesetCount);
    ReadEntries(reader, header.slotsPerTileset, table, sink);
    if (reader.Failed()) {
        return ReadFailed(reader, fileName, table);
    }
    return {TILESET_FILE_LOADED, fileName};
}

bool TilesetFile::Write(const TilesetTable& table, std::ostream& out)
{
    char header[Format::HEADER_SIZE];
    Format::EncodeHeader({table.RecordCount(), SLOTS_PER_TILESET}, header);
    // Whole entries are gathered into pieces written in one call each: a
    // stream write per field cost several times as much as the writing itself.
    std::string piece(header, sizeof header);
    piece.reserve(WRITE_PIECE_SIZE);
    char nameField[Format::FIELD_SIZE];
    for (int i = 0; i < table.RecordCount(); ++i) {
        if (piece.size() + Format::SAVED_ENTRY_SIZE > WRITE_PIECE_SIZE) {
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            piece.clear();
        }
        const TilesetRecord& record = table.RecordAt(i);
        Format::NarrowName(record.name, nameField);
        piece.append(nameField, sizeof nameField);
        piece += static_cast<char>(record.ambient);
        piece.append(record.slots[0], sizeof record.slots);
    }
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    return out.good();
}
