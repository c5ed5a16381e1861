#include "data/TilesetFile.h"

#include "data/FileKind.h"
#include "data/FileSave.h"
#include "data/FileSnapshot.h"
#include "data/FileTarget.h"
#include "data/TilesetFileCheck.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetFileView.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "data/WholeFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <utility>

namespace {

using Format = TilesetFileFormat;

const std::size_t WRITE_PIECE_SIZE = 64 * 1024;

// The name field, which the entry holds whole, cleaned.
void CopyName(const TilesetEntryView& entry, char (&field)[Format::FIELD_SIZE])
{
    std::memcpy(field, entry.bytes, Format::FIELD_SIZE);
    Format::CleanField(field);
}

// The ambient number with the byte after it, the record's padding, so that a
// record filled without zeroing compares equal byte for byte to one that was.
void SetAmbient(uint8_t ambient, TilesetRecord& record)
{
    const std::size_t offset = offsetof(TilesetRecord, ambient);
    std::memset(reinterpret_cast<char*>(&record) + offset, 0, sizeof record - offset);
    record.ambient = ambient;
}

// Every byte of the record is written once. The slot fields the file holds come
// straight into the record, cleaned; the others are empty. A field that the
// file's end cuts short keeps the bytes it holds, its text among them where its
// NUL is there, and zeros after them. Returns whether the slot fields the file
// holds whole were clean already.
bool FillRecord(const TilesetEntryView& entry, TilesetRecord& record, TilesetNameSink& sink)
{
    char nameField[Format::FIELD_SIZE];
    CopyName(entry, nameField);
    sink.AddName(nameField);
    Format::WidenName(nameField, record.name);
    SetAmbient(entry.Ambient(), record);
    return Format::CopySlots(entry.Slots(), entry.SlotBytes(), record.slots);
}

// One walk of the entries fills the table and, where problems is given, checks
// each entry while its bytes are at hand. The records of entries whose name the
// file does not hold whole stay empty, and so do all after the first of them.
TilesetFileResult Take(const TilesetFileView& view, const std::string& fileName, TilesetTable& table,
                       TilesetNameSink& sink, std::vector<TilesetFileProblem>* problems)
{
    // Reading part of each entry would drop the other slots at the next save.
    if (view.Header().slotsPerTileset > SLOTS_PER_TILESET) {
        return {TILESET_FILE_TOO_MANY_SLOTS, fileName, {}, view.Header().slotsPerTileset};
    }
    table.SetRecordCount(0);
    table.ReserveRecords(view.Header().tilesetCount);
    if (problems != nullptr) {
        TilesetFileCheck::CheckHeader(view, *problems);
    }
    bool filling = true;
    for (int i = 0; i < view.EntryCount(); ++i) {
        const TilesetEntryView entry = view.Entry(i);
        filling = filling && entry.HoldsName();
        bool slotsClean = false;
        if (filling) {
            slotsClean = FillRecord(entry, table.AppendUnfilledRecord(), sink);
        }
        if (problems != nullptr) {
            TilesetFileCheck::CheckEntry(view, entry, slotsClean, *problems);
        }
    }
    table.SetRecordCount(view.Header().tilesetCount);
    if (problems != nullptr) {
        TilesetFileCheck::CheckEnd(view, *problems);
    }
    return {TILESET_FILE_LOADED, fileName};
}

// The file's bytes are read once: the table is parsed from them, the checker
// judges them and the snapshot remembers them, so that the three agree.
TilesetFileResult OpenAndRead(const std::string& path, TilesetTable& table, TilesetNameSink& sink)
{
    const FileKind kind = KindOfFile(path);
    if (kind == FILE_KIND_MISSING) {
        table.RememberFile(FileSnapshots::Missing());
        return {TILESET_FILE_NOT_FOUND, path};
    }
    // Opening a named pipe would wait for a writer, and a device never ends.
    if (kind != FILE_KIND_PLAIN) {
        return {TILESET_FILE_NOT_A_FILE, path, RefusedKindReason(kind)};
    }
    // Nothing is parsed before the whole file was read, up to the largest table
    // and a byte more: the entries that follow a read error would be saved back
    // empty, and whatever follows the largest table is never a table's.
    std::string bytes;
    const WholeFileRead read = WholeFile::Read(path, Format::LARGEST_FILE_SIZE, bytes);
    if (!read.read) {
        return TilesetFileResult::ReadFailed(read.failure, path);
    }
    std::vector<TilesetFileProblem> problems;
    TilesetFileResult result = Take(TilesetFileView(bytes, read.FileSize(bytes.size())), path, table, sink, &problems);
    if (result.Succeeded()) {
        result.SetProblems(std::move(problems));
        table.RememberFile(FileSnapshots::Of(std::move(bytes)));
    }
    return result;
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

TilesetFileResult TilesetFile::Save(const std::string& path, TilesetTable& table, const SaveOptions& options)
{
    if (table.LoadFailed()) {
        return {TILESET_FILE_NOT_LOADED, path};
    }
    std::ostringstream bytes;
    if (!TilesetFile::Write(table, bytes)) {
        return {TILESET_FILE_WRITE_FAILED, path, "the table could not be gathered in memory"};
    }
    std::string written = bytes.str();
    const TilesetFileResult result = SaveFile(path, written, options);
    if (result.Succeeded()) {
        table.modified = false;
        table.RememberFile(FileSnapshots::Of(std::move(written)));
    }
    return result;
}

TilesetFileResult TilesetFile::Read(std::istream& in, const std::string& fileName, TilesetTable& table,
                                    TilesetNameSink& sink)
{
    if (table.RecordCount() != 0) {
        std::abort();
    }
    std::string bytes;
    const WholeFileRead read = WholeFile::Read(in, Format::LARGEST_FILE_SIZE, bytes);
    return read.read ? TilesetFile::Parse(bytes, fileName, table, sink)
                     : TilesetFileResult::ReadFailed(read.failure, fileName);
}

TilesetFileResult TilesetFile::Parse(const std::string& bytes, const std::string& fileName, TilesetTable& table,
                                     TilesetNameSink& sink)
{
    return Take(TilesetFileView(bytes), fileName, table, sink, nullptr);
}

std::optional<CutOffSave> TilesetFile::FindCutOffSave(const std::string& path)
{
    const std::string replaced = EndOfLinks(path);
    std::string copy;
    if (replaced.empty() || !ReadWholeCopy(replaced, Format::LARGEST_FILE_SIZE, copy)) {
        return std::nullopt;
    }
    std::string bytes;
    const WholeFileRead read = WholeFile::Read(replaced, Format::LARGEST_FILE_SIZE, bytes);
    if (read.read && bytes == copy) {
        return std::nullopt;
    }
    return CutOffSave{WholeCopyPath(replaced), std::move(copy)};
}

void TilesetFile::RemoveCutOffSave(const std::string& path)
{
    const std::string replaced = EndOfLinks(path);
    if (!replaced.empty()) {
        RemoveWholeCopy(replaced);
    }
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
