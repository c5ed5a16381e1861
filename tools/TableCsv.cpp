#include "tools/TableCsv.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DumpNotation.h"
#include "tools/InputText.h"
#include "tools/JsonPath.h"
#include "tools/RecordText.h"
#include "tools/TableBuilder.h"
#include "tools/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum Column { TILESET_COLUMN, NAME_COLUMN, AMBIENT_COLUMN, SLOT_COLUMN, TEXT_COLUMN, COLUMN_COUNT };

const char* const COLUMN_NAMES[COLUMN_COUNT] = {"tileset", "name", "ambient", "slot", "text"};
const char HEADER[] = "\xEF\xBB\xBFtileset,name,ambient,slot,text\r\n";
const char SEPARATOR = ',';
// Excel's, where the decimal mark is a comma.
const char OTHER_SEPARATOR = ';';
const char QUOTE = '"';
// Spreadsheets take a cell that starts with it as text, and show the rest.
const char FORMULA_GUARD = '\'';
const int NO_COLUMN = -1;

// What a spreadsheet would run as a formula at a cell's start, or would take
// away there (the guard itself), after OWASP's note on CSV injection.
bool NeedsGuard(char c)
{
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r' || c == FORMULA_GUARD;
}

bool NeedsQuotes(char c)
{
    return c == QUOTE || c == SEPARATOR || c == '\r' || c == '\n';
}

// The bytes below 0x80 are ASCII in every code page, so the quoting is decided on the bytes.
void AppendField(const char* bytes, std::size_t length, const CodePageTable* page, std::string& csv)
{
    const bool quoted = std::any_of(bytes, bytes + length, NeedsQuotes);
    if (quoted) {
        csv += QUOTE;
    }
    if (length != 0 && NeedsGuard(bytes[0])) {
        csv += FORMULA_GUARD;
    }
    for (std::size_t k = 0; k < length; ++k) {
        const unsigned char byte = static_cast<unsigned char>(bytes[k]);
        if (byte >= 0x80) {
            Utf8::Append(CodePage::CharacterOfByte(page, byte), csv);
            continue;
        }
        if (byte == QUOTE) {
            csv += QUOTE;
        }
        csv += bytes[k];
    }
    if (quoted) {
        csv += QUOTE;
    }
}

// Each tileset is put together in a string and written in one piece, as the other dumps do.
void AppendCsvRecord(const TilesetRecord& record, int index, const CodePageTable* page, std::string& csv)
{
    std::string start = std::to_string(index) + SEPARATOR;
    const std::string name = RecordText::Name(record);
    AppendField(name.data(), name.size(), page, start);
    start += SEPARATOR + std::to_string(record.ambient) + SEPARATOR;
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        csv += start;
        csv += std::to_string(slot);
        csv += SEPARATOR;
        AppendField(record.slots[slot], TilesetFileFormat::TextLength(record.slots[slot]), page, csv);
        csv += "\r\n";
    }
}

bool SameName(std::string_view name, const char* column)
{
    return std::equal(name.begin(), name.end(), column, column + std::char_traits<char>::length(column),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

bool SameText(const InputText& a, const InputText& b)
{
    return a.length == b.length && a.Bytes() == b.Bytes();
}

// One field of a record: where its content lies in the input (between its
// quotes, doubled quotes still doubled) and where it starts.
struct Field {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool quoted = false;
    InputPlace at;
    // The offset of the line that the field starts on, for the places within it.
    std::size_t lineStart = 0;
};

// What the first row of a tileset gave, against which its other rows are checked.
struct TilesetRows {
    int nameLine = 0;
    // The name's field as written, which most rows repeat byte for byte.
    std::string_view nameField;
    bool nameQuoted = false;
    InputText name;
    int ambientLine = 0;
    std::string_view ambientField;
    uint64_t ambient = 0;
};

// Reads the records one field at a time, keeping only the fields of the five
// columns: an input of any shape is read in the memory of one table.
class CsvReader {
public:
    CsvReader(const std::string& input, const CodePageTable* page, TableBuilder& builder)
        : input(input), page(page), builder(builder), paths{{document, COLUMN_NAMES[0]},
                                                            {document, COLUMN_NAMES[1]},
                                                            {document, COLUMN_NAMES[2]},
                                                            {document, COLUMN_NAMES[3]},
                                                            {document, COLUMN_NAMES[4]}},
          tilesets(MAX_TILESET_COUNT)
    {
    }

    void Document()
    {
        at = Utf8::ByteOrderMarkLength(input);
        if (at == input.size()) {
            builder.AddError(Here(), [] {
                return "expected the header line tileset,name,ambient,slot,text, found the end of the input";
            });
            return;
        }
        separator = SeparatorOfHeader();
        if (!Header()) {
            return;
        }
        builder.ListTilesets();
        while (at < input.size() && !failed) {
            Row();
        }
        if (!failed) {
            builder.EndList(count, Here());
        }
    }

private:
    InputPlace Here() const { return {line, static_cast<int>(at - lineStart) + 1}; }

    // The first of the two separators outside quotes on the header line; a
    // header of one column has none.
    char SeparatorOfHeader() const
    {
        bool inQuotes = false;
        for (std::size_t k = at; k < input.size(); ++k) {
            const char c = input[k];
            if (c == QUOTE) {
                inQuotes = !inQuotes;
            } else if (!inQuotes && (c == SEPARATOR || c == OTHER_SEPARATOR)) {
                return c;
            } else if (!inQuotes && (c == '\r' || c == '\n')) {
                break;
            }
        }
        return SEPARATOR;
    }

    bool EndsField(char c) const { return c == separator || c == '\r' || c == '\n'; }

    // Reads the field at the reading position and what ends it; true when
    // another field of the same record follows.
    bool ScanField(Field& field)
    {
        field.at = Here();
        field.lineStart = lineStart;
        field.quoted = at < input.size() && input[at] == QUOTE;
        if (field.quoted) {
            ScanQuoted(field);
        } else {
            field.begin = at;
            while (at < input.size() && !EndsField(input[at])) {
                ++at;
            }
            field.end = at;
        }
        if (at < input.size() && input[at] == separator) {
            ++at;
            return true;
        }
        recordEnd = Here();
        EndLine();
        return false;
    }

    void ScanQuoted(Field& field)
    {
        field.begin = ++at;
        std::size_t quote = input.find(QUOTE, at);
        while (quote != std::string::npos && quote + 1 < input.size() && input[quote + 1] == QUOTE) {
            quote = input.find(QUOTE, quote + 2);
        }
        if (quote == std::string::npos) {
            builder.AddError(field.at, [] { return "the field has no closing quote"; });
            failed = true;
            field.end = at = input.size();
            return;
        }
        field.end = quote;
        PassLines(field.begin, field.end);
        at = quote + 1;
        if (at < input.size() && !EndsField(input[at])) {
            const std::size_t junk = at;
            while (at < input.size() && !EndsField(input[at])) {
                ++at;
            }
            builder.AddError(InputPlace{line, static_cast<int>(junk - lineStart) + 1}, [this, junk] {
                return "expected a separator or the end of the line after the closing quote, found " +
                       DumpNotation::TextExcerpt(std::string_view(input).substr(junk, at - junk));
            });
            recordBroken = true;
        }
    }

    // Counts the lines of a quoted field, for the places after it.
    void PassLines(std::size_t from, std::size_t to)
    {
        for (std::size_t k = from; k < to; ++k) {
            if (input[k] == '\n') {
                ++line;
                lineStart = k + 1;
            }
        }
    }

    // CR LF, LF or CR alone.
    void EndLine()
    {
        if (at < input.size() && input[at] == '\r') {
            ++at;
        }
        if (at < input.size() && input[at] == '\n') {
            ++at;
        }
        ++line;
        lineStart = at;
    }

    bool Header()
    {
        const InputPlace headerAt = Here();
        bool more = true;
        bool sound = true;
        for (int column = 1; more && !failed; ++column) {
            Field field;
            more = ScanField(field);
            const std::string_view name = Written(field);
            for (int known = 0; known < COLUMN_COUNT; ++known) {
                if (SameName(name, COLUMN_NAMES[known]) && columns[known] != NO_COLUMN) {
                    builder.AddError(field.at, [&] {
                        return "the column \"" + std::string(COLUMN_NAMES[known]) +
                               "\" is given twice, first as column " + std::to_string(columns[known] + 1);
                    });
                    sound = false;
                } else if (SameName(name, COLUMN_NAMES[known])) {
                    columns[known] = column - 1;
                }
            }
        }
        for (int known = 0; known < COLUMN_COUNT; ++known) {
            if (columns[known] == NO_COLUMN) {
                builder.AddError(headerAt, [known] {
                    return "the header has no column \"" + std::string(COLUMN_NAMES[known]) +
                           "\": expected the columns tileset, name, ambient, slot and text, in any order";
                });
                sound = false;
            }
        }
        return sound && !failed;
    }

    // A row of empty fields, as spreadsheets leave after the last one, is passed over.
    void Row()
    {
        Field fields[COLUMN_COUNT];
        bool given[COLUMN_COUNT] = {};
        bool empty = true;
        recordBroken = false;
        bool more = true;
        for (int column = 0; more; ++column) {
            Field field;
            more = ScanField(field);
            empty = empty && field.end == field.begin;
            for (int known = 0; known < COLUMN_COUNT; ++known) {
                if (columns[known] == column) {
                    fields[known] = field;
                    given[known] = true;
                }
            }
        }
        if (failed || recordBroken || empty) {
            return;
        }
        // A row cut short: its missing fields are empty, at its end.
        for (int known = 0; known < COLUMN_COUNT; ++known) {
            if (!given[known]) {
                fields[known].at = recordEnd;
            }
        }
        TakeRow(fields);
    }

    void TakeRow(const Field (&fields)[COLUMN_COUNT])
    {
        WrittenNumber tileset;
        if (!Number(fields[TILESET_COLUMN], TILESET_COLUMN, "the tileset's index", tileset)) {
            return;
        }
        builder.SelectTileset(tileset, Place(fields[TILESET_COLUMN], TILESET_COLUMN));
        TilesetRows* const rows = tileset.value < MAX_TILESET_COUNT ? &tilesets[tileset.value] : nullptr;
        if (rows != nullptr) {
            count = std::max(count, tileset.value + 1);
        }
        Name(fields[NAME_COLUMN], tileset.value, rows);
        Ambient(fields[AMBIENT_COLUMN], tileset.value, rows);
        WrittenNumber slot;
        if (Number(fields[SLOT_COLUMN], SLOT_COLUMN, "the slot's index", slot)) {
            Text(fields[TEXT_COLUMN], TEXT_COLUMN, text);
            builder.SetSlot(slot, Place(fields[SLOT_COLUMN], SLOT_COLUMN), text,
                            Place(fields[TEXT_COLUMN], TEXT_COLUMN));
        }
    }

    void Name(const Field& field, uint64_t tileset, TilesetRows* rows)
    {
        const InputPlace at = Place(field, NAME_COLUMN);
        const std::string_view written = Written(field);
        if (rows != nullptr && rows->nameLine != 0 && written == rows->nameField && field.quoted == rows->nameQuoted) {
            return;
        }
        Text(field, NAME_COLUMN, text);
        if (rows == nullptr || rows->nameLine == 0) {
            if (rows != nullptr) {
                rows->nameLine = at.line;
                rows->nameField = written;
                rows->nameQuoted = field.quoted;
                rows->name = text;
            }
            builder.SetName(text, at);
        } else if (!SameText(text, rows->name)) {
            builder.AddError(at, [&] {
                return "tileset " + std::to_string(tileset) + " is named " + Shown(text) + " here, but " +
                       Shown(rows->name) + " on line " + std::to_string(rows->nameLine) +
                       ": the rows of a tileset give one name";
            });
        }
    }

    void Ambient(const Field& field, uint64_t tileset, TilesetRows* rows)
    {
        WrittenNumber ambient;
        if (rows != nullptr && rows->ambientLine != 0 && Written(field) == rows->ambientField) {
            return;
        }
        if (!Number(field, AMBIENT_COLUMN, "the ambient number", ambient)) {
            return;
        }
        const InputPlace at = Place(field, AMBIENT_COLUMN);
        if (rows == nullptr || rows->ambientLine == 0) {
            if (rows != nullptr) {
                rows->ambientLine = at.line;
                rows->ambientField = ambient.text;
                rows->ambient = ambient.value;
            }
            builder.SetAmbient(ambient, at);
        } else if (ambient.value != rows->ambient) {
            builder.AddError(at, [&] {
                return "tileset " + std::to_string(tileset) + " has the ambient number " +
                       DumpNotation::NumberShown(ambient.text) + " here, but " + std::to_string(rows->ambient) +
                       " on line " + std::to_string(rows->ambientLine) +
                       ": the rows of a tileset give one ambient number";
            });
        }
    }

    // The field's content as it stands in the input.
    std::string_view Written(const Field& field) const
    {
        return std::string_view(input).substr(field.begin, field.end - field.begin);
    }

    InputPlace Place(const Field& field, Column column) const
    {
        InputPlace place = field.at;
        place.path = &paths[column];
        return place;
    }

    std::string Shown(const InputText& shown) const
    {
        return DumpNotation::JsonExcerpt(shown.Bytes(), shown.length, page);
    }

    bool Number(const Field& field, Column column, const char* what, WrittenNumber& number)
    {
        number.text = Written(field);
        if (DumpNotation::ParseDecimal(number.text, number.value)) {
            return true;
        }
        builder.AddError(Place(field, column), [&] {
            return std::string("expected ") + what + " (a number), found " +
                   (number.text.empty() ? "nothing" : DumpNotation::TextExcerpt(number.text));
        });
        return false;
    }

    // The field's characters as the table's bytes, without the one guard a
    // text may start with. A fault is told, stands for one byte, and the text
    // is read on after it. ASCII, the same byte in every code page, is taken
    // in runs.
    void Text(const Field& field, Column column, InputText& bytes)
    {
        bytes.Clear();
        int fieldLine = field.at.line;
        std::size_t fieldLineStart = field.lineStart;
        std::size_t k = field.begin + (field.end > field.begin && input[field.begin] == FORMULA_GUARD ? 1 : 0);
        while (k < field.end) {
            const std::size_t run = k;
            while (k < field.end && IsPlainByte(input[k])) {
                ++k;
            }
            bytes.Add(input.data() + run, k - run);
            if (k == field.end) {
                break;
            }
            // The first quote of a doubled pair.
            k += field.quoted && input[k] == QUOTE ? 1 : 0;
            const InputPlace place{fieldLine, static_cast<int>(k - fieldLineStart) + 1, &paths[column]};
            const unsigned char byte = static_cast<unsigned char>(input[k]);
            Utf8::Decoded decoded{byte, 1, Utf8::NO_FAULT};
            if (byte >= 0x80) {
                decoded = Utf8::Decode(std::string_view(input).substr(k, field.end - k));
            } else if (byte == '\n') {
                ++fieldLine;
                fieldLineStart = k + 1;
            }
            k += decoded.length;
            TakeCharacter(decoded, place, bytes);
        }
    }

    // ASCII other than the quote and the line end, which need a look of their own.
    static bool IsPlainByte(char c)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        return byte < 0x80 && c != QUOTE && c != '\n';
    }

    void TakeCharacter(const Utf8::Decoded& decoded, const InputPlace& place, InputText& bytes)
    {
        if (decoded.fault != Utf8::NO_FAULT) {
            builder.AddError(place, [&decoded] {
                return std::string(Utf8::Describe(decoded.fault)) +
                       ": a CSV file is read as UTF-8 (in Excel, save it as CSV UTF-8)";
            });
            bytes.Add('?');
            return;
        }
        const int byte = CodePage::ByteOfCharacter(page, decoded.character);
        if (byte == CodePage::NO_BYTE) {
            builder.AddError(place, [this, &decoded] { return CodePage::NoByteFor(page, decoded.character); });
            bytes.Add('?');
            return;
        }
        bytes.Add(static_cast<char>(byte));
    }

    const std::string& input;
    const CodePageTable* const page;
    TableBuilder& builder;
    const JsonPath document;
    // Errors name the column: "text: ...".
    const JsonPath paths[COLUMN_COUNT];
    // Where each of the five columns is in a record.
    int columns[COLUMN_COUNT] = {NO_COLUMN, NO_COLUMN, NO_COLUMN, NO_COLUMN, NO_COLUMN};
    std::vector<TilesetRows> tilesets;
    char separator = SEPARATOR;
    std::size_t at = 0;
    int line = 1;
    std::size_t lineStart = 0;
    InputPlace recordEnd;
    bool recordBroken = false;
    bool failed = false;
    uint64_t count = 0;
    // Kept from field to field, so that a text costs no allocation.
    InputText text;
};

} // namespace

void TableCsv::Write(const TilesetTable& table, const CodePageTable* page, std::ostream& out)
{
    out << HEADER;
    std::string csv;
    for (int i = 0; i < table.RecordCount(); ++i) {
        csv.clear();
        AppendCsvRecord(table.RecordAt(i), i, page, csv);
        out << csv;
    }
}

void TableCsv::Read(const std::string& input, const CodePageTable* page, TableBuilder& builder)
{
    CsvReader(input, page, builder).Document();
}
