#include "tools/TableText.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetFileView.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DumpNotation.h"
#include "tools/RecordText.h"
#include "tools/TableBuilder.h"
#include "tools/Utf8.h"

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

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads the values of one line. A step that fails records its error, and the
// caller gives up the rest of the line.
class LineReader {
public:
    LineReader(std::string_view text, int line, const CodePageTable* page, TableBuilder& builder)
        : text(text), line(line), page(page), builder(builder)
    {
    }

    void SkipByteOrderMark() { at = Utf8::ByteOrderMarkLength(text); }

    bool AtEnd()
    {
        SkipBlanks();
        return at == text.size();
    }

    InputPlace Here() const { return {line, static_cast<int>(at) + 1}; }

    // The run of non-blank characters at the reading position.
    std::string_view Word()
    {
        SkipBlanks();
        const std::size_t start = at;
        while (at < text.size() && !IsBlank(text[at])) {
            ++at;
        }
        return text.substr(start, at - start);
    }

    bool Number(const std::string& what, WrittenNumber& number, InputPlace& place)
    {
        SkipBlanks();
        place = Here();
        number.text = Word();
        return DumpNotation::ParseDecimal(number.text, number.value) ||
               Fail(place, [&] { return "expected " + what + " (a number), found " + Found(number.text); });
    }

    // A text in quotes with the dump's escapes: \" \\ and \xNN.
    bool Quoted(InputText& bytes, InputPlace& place)
    {
        SkipBlanks();
        place = Here();
        if (at == text.size() || text[at] != '"') {
            const std::string_view found = Word();
            return Fail(place, [found] { return "expected a text in quotes, found " + Found(found); });
        }
        ++at;
        bytes.Clear();
        while (at < text.size() && text[at] != '"') {
            if (!QuotedByte(bytes)) {
                return false;
            }
        }
        if (at == text.size()) {
            return Fail(place, [] { return "the text has no closing quote"; });
        }
        ++at;
        return true;
    }

    bool End()
    {
        SkipBlanks();
        if (at != text.size()) {
            return Fail(Here(), [this] { return "expected the end of the line, found " + Found(text.substr(at)); });
        }
        return true;
    }

    // message() gives the words, put together only for an error that is told.
    template <typename Message>
    bool Fail(const InputPlace& place, const Message& message)
    {
        builder.AddError(place, message);
        return false;
    }

private:
    void SkipBlanks()
    {
        while (at < text.size() && IsBlank(text[at])) {
            ++at;
        }
    }

    static std::string Found(std::string_view word)
    {
        return word.empty() ? "nothing" : DumpNotation::TextExcerpt(word);
    }

    bool QuotedByte(InputText& bytes)
    {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80 && page != nullptr) {
            QuotedCharacter(bytes);
            return true;
        }
        if (!DumpNotation::IsPrintableAscii(byte)) {
            const std::string hex = DumpNotation::HexByte(byte);
            return Fail(Here(), [&hex] {
                return "byte 0x" + hex + " in a text: expected printable ASCII, other bytes as \\x" + hex;
            });
        }
        if (byte != '\\') {
            bytes.Add(text[at++]);
            return true;
        }
        const InputPlace escapeAt = Here();
        const char kind = at + 1 < text.size() ? text[at + 1] : '\0';
        if (DumpNotation::IsBackslashed(static_cast<unsigned char>(kind))) {
            bytes.Add(kind);
            at += 2;
            return true;
        }
        const int high = kind == 'x' && at + 2 < text.size() ? DumpNotation::HexDigitValue(text[at + 2]) : -1;
        const int low = high >= 0 && at + 3 < text.size() ? DumpNotation::HexDigitValue(text[at + 3]) : -1;
        if (low < 0) {
            // The escape as far as it goes: its letter and the hexadecimal digits after \x.
            const std::size_t length = at + 1 == text.size() ? 1 : high < 0 ? 2 : 3;
            return Fail(escapeAt, [this, length] {
                return "bad escape " + DumpNotation::TextExcerpt(text.substr(at, length)) +
                       ": expected \\xNN (two hexadecimal digits), \\\" or \\\\";
            });
        }
        bytes.Add(static_cast<char>(high * 16 + low));
        at += 4;
        return true;
    }

    // A character in UTF-8, taken as its byte in the code page. A fault, or a
    // character that the code page does not hold, is told, stands for one
    // byte, and the text is read on after it.
    void QuotedCharacter(InputText& bytes)
    {
        const InputPlace place = Here();
        const Utf8::Decoded decoded = Utf8::Decode(text.substr(at));
        const bool utf8 = decoded.fault == Utf8::NO_FAULT;
        const int byte = utf8 ? CodePage::ByteOf(*page, decoded.character) : CodePage::NO_BYTE;
        if (byte != CodePage::NO_BYTE) {
            bytes.Add(static_cast<char>(byte));
        } else if (!utf8) {
            builder.AddError(place, [&] { return NotUtf8(text.substr(at, decoded.length), decoded.fault); });
            bytes.Add('?');
        } else {
            builder.AddError(place, [this, &decoded] { return CodePage::NotHeld(*page, decoded.character); });
            bytes.Add('?');
        }
        at += decoded.length;
    }

    // "bytes 0xE2 0x82: a UTF-8 character cut short; ..."
    static std::string NotUtf8(std::string_view bytes, Utf8::Fault fault)
    {
        std::string named = bytes.size() == 1 ? "byte" : "bytes";
        for (const char byte : bytes) {
            named += " 0x" + DumpNotation::HexByte(static_cast<unsigned char>(byte));
        }
        return named + ": " + Utf8::Describe(fault) + "; with --code-page, a text is read as UTF-8";
    }

    const std::string_view text;
    const int line;
    const CodePageTable* const page;
    TableBuilder& builder;
    std::size_t at = 0;
};

class TextReader {
public:
    TextReader(const CodePageTable* page, TableBuilder& builder) : page(page), builder(builder) {}

    void ReadLine(std::string_view text, int line)
    {
        LineReader reader(text, line, page, builder);
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
    void ReadCount(LineReader& reader, const InputPlace& wordAt)
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
    bool ReportMissingCount(LineReader& reader, const InputPlace& wordAt, std::string_view word)
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

    void ReadTileset(LineReader& reader)
    {
        WrittenNumber index;
        InputPlace indexAt;
        if (reader.Number("the tileset's index", index, indexAt) && reader.End()) {
            builder.StartTileset(index, indexAt);
        }
    }

    void ReadName(LineReader& reader)
    {
        InputPlace nameAt;
        if (reader.Quoted(text, nameAt) && reader.End()) {
            builder.SetName(text, nameAt);
        }
    }

    void ReadAmbient(LineReader& reader)
    {
        WrittenNumber ambient;
        InputPlace ambientAt;
        if (reader.Number("the ambient number", ambient, ambientAt) && reader.End()) {
            builder.SetAmbient(ambient, ambientAt);
        }
    }

    void ReadSlot(LineReader& reader)
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
    int line = 1;
    std::size_t start = 0;
    while (start < input.size() && !reader.Stopped()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) {
            end = input.size();
        }
        const std::size_t length = end > start && input[end - 1] == '\r' ? end - start - 1 : end - start;
        reader.ReadLine(std::string_view(input).substr(start, length), line);
        start = end + 1;
        ++line;
    }
    reader.Finish(line);
}
