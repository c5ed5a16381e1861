#include "tools/TableText.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetFileView.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DumpLineReader.h"
#include "tools/DumpNotation.h"
#include "tools/RecordText.h"
#include "tools/TableBuilder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using Format = TilesetFileFormat;

// The first line's word, before the count of tilesets.
const char COUNT_WORD[] = "tilesets";

// Each tileset is put together in a string and written in one piece: a stream
// insertion per value took most of the time of a large table's dump.
void AppendTilesetText(int index, const std::string& name, int ambient, const CodePageTable* page, std::string& text)
{
    text += "\ntileset " + std::to_string(index) + "\n  name ";
    DumpNotation::AppendText(name.data(), name.size(), page, text);
    text += "\n  ambient " + std::to_string(ambient) + "\n";
}

void AppendSlotText(uint64_t slot, const char* bytes, std::size_t length, const CodePageTable* page, std::string& text)
{
    if (length != 0) {
        text += "  slot " + std::to_string(slot) + " ";
        DumpNotation::AppendText(bytes, length, page, text);
        text += '\n';
    }
}

void AppendTextRecord(const TilesetRecord& record, int index, const CodePageTable* page, std::string& text)
{
    const std::string name = RecordText::Name(record);
    AppendTilesetText(index, name, record.ambient, page, text);
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        AppendSlotText(static_cast<uint64_t>(slot), record.slots[slot], Format::TextLength(record.slots[slot]), page,
                       text);
    }
}

// The text of a field of which the file holds count bytes; one that the file's
// end cuts short is what the load makes of it: the bytes it holds.
std::string FieldText(const char* bytes, std::size_t count)
{
    char field[Format::FIELD_SIZE] = {};
    std::memcpy(field, bytes, std::min(count, sizeof field));
    Format::CleanField(field);
    return std::string(field, Format::TextLength(field));
}

// Every slot the entry holds, however many the header declares.
void AppendEntry(const TilesetEntryView& entry, const CodePageTable* page, std::string& text)
{
    AppendTilesetText(entry.index, FieldText(entry.bytes, Format::FIELD_SIZE), entry.Ambient(), page, text);
    for (std::size_t at = 0; at < entry.SlotBytes(); at += Format::FIELD_SIZE) {
        const std::string slotText = FieldText(entry.Slots() + at, entry.SlotBytes() - at);
        AppendSlotText(at / Format::FIELD_SIZE, slotText.data(), slotText.size(), page, text);
    }
}

class TextReader {
public:
    TextReader(const CodePageTable* page, TableBuilder& builder) : page(page), builder(builder) {}

    void ReadLine(std::string_view text, int line)
    {
        DumpLineReader reader(text, line, page, builder.ErrorList());
        // Editors on Windows may start a file with one, Notepad among them.
        if (line == 1) {
            reader.SkipByteOrderMark();
        }
        if (reader.AtEnd()) {
            return;
        }
        const InputPlace wordAt = reader.Here();
        const std::string_view word = reader.Word();
        if (word == COUNT_WORD) {
            ReadCount(reader, wordAt);
            return;
        }
        if (countLine == 0 && !ReportMissingCount(reader, wordAt, word)) {
            return;
        }
        if (word == "tileset") {
            ReadTileset(reader);
        } else if (word == "name") {
            ReadName(reader);
        } else if (word == "ambient") {
            ReadAmbient(reader);
        } else if (word == "slot") {
            ReadSlot(reader);
        } else {
            reader.Fail(wordAt, [word] {
                return "unknown line " + DumpNotation::TextExcerpt(word) +
                       ": expected tilesets, tileset, name, ambient or slot";
            });
        }
    }

    // Each line of a JSON dump would only give one more error.
    bool Stopped() const { return stopped; }

    void Finish(int endLine)
    {
        if (countLine == 0) {
            builder.AddError({endLine, 1}, [] { return "expected \"tilesets COUNT\", found the end of the input"; });
        }
    }

private:
    void ReadCount(DumpLineReader& reader, const InputPlace& wordAt)
    {
        WrittenNumber count;
        InputPlace countAt;
        if (countLine != 0) {
            reader.Fail(wordAt, [this] {
                return "a second tilesets line: the count is on line " + std::to_string(countLine);
            });
            return;
        }
        countLine = wordAt.line;
        if (reader.Number("the number of tilesets", count, countAt) && reader.End()) {
            builder.SetCount(count, countAt);
        } else {
            builder.AssumeLargestCount();
        }
    }

    // Said once: the lines that follow are still read, against the largest count,
    // unless they are JSON. False when reading stops.
    bool ReportMissingCount(DumpLineReader& reader, const InputPlace& wordAt, std::string_view word)
    {
        stopped = word[0] == '{';
        reader.Fail(wordAt, [this] {
            return std::string("expected \"tilesets COUNT\" first") +
                   (stopped ? "; for a JSON dump, give --format json" : "");
        });
        countLine = wordAt.line;
        builder.AssumeLargestCount();
        return !stopped;
    }

    void ReadTileset(DumpLineReader& reader)
    {
        WrittenNumber index;
        InputPlace indexAt;
        if (reader.Number("the tileset's index", index, indexAt) && reader.End()) {
            builder.StartTileset(index, indexAt);
        }
    }

    void ReadName(DumpLineReader& reader)
    {
        InputPlace nameAt;
        if (reader.Quoted(text, nameAt) && reader.End()) {
            builder.SetName(text, nameAt);
        }
    }

    void ReadAmbient(DumpLineReader& reader)
    {
        WrittenNumber ambient;
        InputPlace ambientAt;
        if (reader.Number("the ambient number", ambient, ambientAt) && reader.End()) {
            builder.SetAmbient(ambient, ambientAt);
        }
    }

    void ReadSlot(DumpLineReader& reader)
    {
        WrittenNumber slot;
        InputPlace slotAt;
        InputPlace textAt;
        if (reader.Number("the slot's index", slot, slotAt) && reader.Quoted(text, textAt) && reader.End()) {
            builder.SetSlot(slot, slotAt, text, textAt);
        }
    }

    const CodePageTable* const page;
    TableBuilder& builder;
    // Kept from line to line, so that a text costs no allocation.
    InputText text;
    int countLine = 0;
    bool stopped = false;
};

} // namespace

void TableText::Write(const TilesetTable& table, const CodePageTable* page, std::ostream& out)
{
    out << COUNT_WORD << " " << table.RecordCount() << "\n";
    std::string text;
    for (int i = 0; i < table.RecordCount(); ++i) {
        text.clear();
        AppendTextRecord(table.RecordAt(i), i, page, text);
        out << text;
    }
}

void TableText::WriteEntries(const std::string& bytes, const CodePageTable* page, std::ostream& out)
{
    const TilesetFileView view(bytes);
    out << COUNT_WORD << " " << view.Header().tilesetCount << "\n";
    std::string text;
    for (int i = 0; i < view.EntryCount() && view.Entry(i).HoldsName(); ++i) {
        text.clear();
        AppendEntry(view.Entry(i), page, text);
        out << text;
    }
}

void TableText::Read(const std::string& input, const CodePageTable* page, TableBuilder& builder)
{
    TextReader reader(page, builder);
    DumpLineReader::ReadLines(input, reader);
}
