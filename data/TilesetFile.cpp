#include "data/TilesetFile.h"

#include "data/CommitFile.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

// The slot copy below works on words in little-endian byte order.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "The tileset file code assumes a little-endian system."
#endif

namespace {

const int HEADER_SIZE = 5;
const std::size_t SAVED_ENTRY_SIZE = NAME_FIELD_SIZE + 1 + sizeof TilesetRecord::slots;
const std::size_t WRITE_PIECE_SIZE = 64 * 1024;

std::string SystemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : "the system gave no reason";
}

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
        return in.bad() ? SystemReason(error) : "fewer bytes could be read than the file holds";
    }

private:
    std::istream& in;
    std::streamoff remaining;
    bool failed = false;
    int error = 0;
};

// Only a field read whole counts: nothing from a failed stream is taken as data.
bool ReadField(FieldReader& reader, char (&fieldBuffer)[NAME_FIELD_SIZE])
{
    if (!reader.ReadWhole(fieldBuffer, NAME_FIELD_SIZE)) {
        return false;
    }
    // A field without its NUL is taken as its first 31 bytes.
    fieldBuffer[NAME_FIELD_SIZE - 1] = '\0';
    return true;
}

// Copies the text of a field into a slot and zeros the rest of the slot,
// whatever followed the NUL in the file; a field without its NUL keeps its first
// 31 bytes. It works on eight bytes at a time without branching on the text:
// done a byte at a time, the load took ten times as long as a plain read.
void CopySlotText(const char (&fieldBuffer)[NAME_FIELD_SIZE], char (&slot)[NAME_FIELD_SIZE])
{
    const uint64_t lowBits = 0x0101010101010101;
    const uint64_t highBits = 0x8080808080808080;
    // In little-endian order the last byte of the field is the top byte of the last word.
    const uint64_t lastByteCleared = 0x00FFFFFFFFFFFFFF;
    uint64_t words[NAME_FIELD_SIZE / 8];
    std::memcpy(words, fieldBuffer, sizeof words);
    words[NAME_FIELD_SIZE / 8 - 1] &= lastByteCleared;
    // All ones until the word that holds the first zero byte, then none.
    uint64_t beforeEnd = ~uint64_t{0};
    for (uint64_t& word : words) {
        // The high bit of each zero byte; the lowest one set marks the first zero byte exactly.
        const uint64_t zeroBytes = (word - lowBits) & ~word & highBits;
        const uint64_t keptBytes = zeroBytes != 0 ? ((zeroBytes & (0 - zeroBytes)) >> 7) - 1 : ~uint64_t{0};
        word &= beforeEnd & keptBytes;
        beforeEnd = zeroBytes != 0 ? 0 : beforeEnd;
    }
    std::memcpy(slot, words, sizeof words);
}

void WidenName(const char (&fieldBuffer)[NAME_FIELD_SIZE], char16_t (&name)[NAME_FIELD_SIZE])
{
    std::memset(name, 0, sizeof name);
    for (int k = 0; fieldBuffer[k] != '\0'; ++k) {
        name[k] = static_cast<unsigned char>(fieldBuffer[k]);
    }
}

// The bytes after the NUL are written as zeros.
void NarrowName(const char16_t (&name)[NAME_FIELD_SIZE], char (&fieldBuffer)[NAME_FIELD_SIZE])
{
    std::memset(fieldBuffer, 0, sizeof fieldBuffer);
    for (int k = 0; k < NAME_FIELD_SIZE && name[k] != 0; ++k) {
        fieldBuffer[k] = static_cast<char>(static_cast<unsigned char>(name[k]));
    }
}

uint8_t ReadAmbient(FieldReader& reader)
{
    char ambient = 0;
    return reader.ReadWhole(&ambient, 1) ? static_cast<uint8_t>(ambient) : 0;
}

// The slot fields come in one read, and then each passes through fieldBuffer:
// a read per field took longer than the fields' own handling. A field cut short
// by the end of the file is not taken, and its slot stays empty.
void ReadSlots(FieldReader& reader, uint32_t slotCount, TilesetRecord& record)
{
    char slotFields[SLOTS_PER_TILESET][NAME_FIELD_SIZE];
    const std::streamsize bytesRead =
        reader.Read(slotFields[0], static_cast<std::streamsize>(slotCount) * NAME_FIELD_SIZE);
    const std::streamsize fieldsRead = bytesRead / NAME_FIELD_SIZE;
    char fieldBuffer[NAME_FIELD_SIZE];
    for (std::streamsize j = 0; j < fieldsRead; ++j) {
        std::memcpy(fieldBuffer, slotFields[j], NAME_FIELD_SIZE);
        CopySlotText(fieldBuffer, record.slots[j]);
    }
}

// Stops at the first name that cannot be read whole; the records from there on stay empty.
void ReadEntries(FieldReader& reader, uint32_t slotCount, TilesetTable& table, TilesetNameSink& sink)
{
    char fieldBuffer[NAME_FIELD_SIZE];
    for (int i = 0; i < table.RecordCount() && ReadField(reader, fieldBuffer); ++i) {
        sink.AddName(fieldBuffer);
        TilesetRecord& record = table.RecordAt(i);
        record.ambient = ReadAmbient(reader);
        WidenName(fieldBuffer, record.name);
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
    std::error_code error;
    // Some systems open a folder for reading and then read nothing from it.
    if (std::filesystem::is_directory(path, error)) {
        return {TILESET_FILE_OPEN_FAILED, path, SystemReason(EISDIR)};
    }
    std::ifstream in;
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in.is_open()) {
        const int openError = errno;
        if (!std::filesystem::exists(path, error) && !error) {
            return {TILESET_FILE_NOT_FOUND, path};
        }
        return {TILESET_FILE_OPEN_FAILED, path, SystemReason(openError)};
    }
    return TilesetFile::Read(in, path, table, sink);
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
    char count = 0;
    if (!reader.ReadWhole(&count, 1)) {
        return reader.Failed() ? ReadFailed(reader, fileName, table) : TilesetFileResult(TILESET_FILE_LOADED, fileName);
    }
    unsigned char slotBytes[HEADER_SIZE - 1];
    if (!reader.ReadWhole(reinterpret_cast<char*>(slotBytes), sizeof slotBytes)) {
        if (reader.Failed()) {
            return ReadFailed(reader, fileName, table);
        }
        table.SetRecordCount(static_cast<unsigned char>(count));
        return {TILESET_FILE_LOADED, fileName};
    }
    const uint32_t slotCount = slotBytes[0] | uint32_t{slotBytes[1]} << 8 | uint32_t{slotBytes[2]} << 16 |
                               uint32_t{slotBytes[3]} << 24;
    // Reading part of each entry would drop the other slots at the next save.
    if (slotCount > SLOTS_PER_TILESET) {
        return {TILESET_FILE_TOO_MANY_SLOTS, fileName, {}, slotCount};
    }
    table.SetRecordCount(static_cast<unsigned char>(count));
    ReadEntries(reader, slotCount, table, sink);
    if (reader.Failed()) {
        return ReadFailed(reader, fileName, table);
    }
    return {TILESET_FILE_LOADED, fileName};
}

bool TilesetFile::Write(const TilesetTable& table, std::ostream& out)
{
    const uint32_t slotCount = SLOTS_PER_TILESET;
    const char header[HEADER_SIZE] = {
        static_cast<char>(table.RecordCount()),  static_cast<char>(slotCount & 0xFF),
        static_cast<char>(slotCount >> 8 & 0xFF), static_cast<char>(slotCount >> 16 & 0xFF),
        static_cast<char>(slotCount >> 24 & 0xFF),
    };
    // Whole entries are gathered into pieces written in one call each: a
    // stream write per field cost several times as much as the writing itself.
    std::string piece(header, sizeof header);
    piece.reserve(WRITE_PIECE_SIZE);
    char fieldBuffer[NAME_FIELD_SIZE];
    for (int i = 0; i < table.RecordCount(); ++i) {
        if (piece.size() + SAVED_ENTRY_SIZE > WRITE_PIECE_SIZE) {
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            piece.clear();
        }
        const TilesetRecord& record = table.RecordAt(i);
        NarrowName(record.name, fieldBuffer);
        piece.append(fieldBuffer, sizeof fieldBuffer);
        piece += static_cast<char>(record.ambient);
        piece.append(record.slots[0], sizeof record.slots);
    }
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    return out.good();
}
