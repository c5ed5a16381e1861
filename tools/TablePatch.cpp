#include "tools/TablePatch.h"

#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DumpLineReader.h"
#include "tools/DumpNotation.h"
#include "tools/InputErrorList.h"
#include "tools/RecordText.h"
#include "tools/TableBuilder.h"
#include "tools/Utf8.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

const char HEADER[] = "kestrivane patch 1";
const uint64_t VERSION = 1;
const char CODE_PAGE_WORD[] = "code-page";
const char ARROW[] = "->";
const uint64_t MAX_AMBIENT = 255;

std::string Number(uint64_t value)
{
    return std::to_string(value);
}

std::string Written(const WrittenNumber& number)
{
    return DumpNotation::NumberShown(number.text);
}

// Where a patch line's values were found, for the errors of the line as a whole.
struct LinePlaces {
    InputPlace name;
    InputPlace field;
    InputPlace before;
    InputPlace after;
};

// Reads a patch line by line: the header first, then one change a line.
class PatchReader {
public:
    PatchReader(const CodePageTable* optionPage, InputErrorList& errors, TablePatch& patch)
        : optionPage(optionPage), errors(errors), patch(patch), firstLines(MAX_TILESET_COUNT * RecordField::COUNT),
          tilesetLines(MAX_TILESET_COUNT)
    {
    }

    void ReadLine(std::string_view text, int line)
    {
        const std::size_t start = line == 1 ? Utf8::ByteOrderMarkLength(text) : 0;
        const std::size_t first = text.find_first_not_of(" \t", start);
        if (first == std::string_view::npos || text[first] == '#') {
            return;
        }
        DumpLineReader reader(text, line, headerLine == 0 ? nullptr : patch.page, errors);
        if (line == 1) {
            reader.SkipByteOrderMark();
        }
        if (headerLine == 0) {
            headerLine = line;
            stopped = !ReadHeader(reader);
        } else {
            ReadChange(reader, line);
        }
    }

    // Without its header, a text is no patch, and its lines would only give more errors.
    bool Stopped() const { return stopped; }

    void Finish(int endLine)
    {
        if (headerLine == 0) {
            errors.Add({endLine, 1},
                       [] { return std::string("expected \"") + HEADER + "\", found the end of the input"; });
        }
    }

private:
    bool ReadHeader(DumpLineReader& reader)
    {
        const InputPlace wordAt = reader.Here();
        const std::string_view first = reader.Word();
        const std::string_view second = reader.Word();
        WrittenNumber version;
        InputPlace versionAt;
        if (first != "kestrivane" || second != "patch") {
            const std::string_view found = first != "kestrivane" ? first : second;
            return reader.Fail(wordAt, [found] {
                return std::string("expected \"") + HEADER + "\" first, found " + DumpLineReader::Found(found);
            });
        }
        if (!reader.Number("the patch's version", version, versionAt)) {
            return false;
        }
        if (version.value != VERSION) {
            return reader.Fail(versionAt, [&] {
                return "patch version " + Written(version) + ": this tool reads version " + Number(VERSION);
            });
        }
        if (!reader.AtEnd() && !ReadCodePage(reader)) {
            return false;
        }
        if (patch.page == nullptr) {
            patch.page = optionPage;
        }
        return reader.End();
    }

    bool ReadCodePage(DumpLineReader& reader)
    {
        const InputPlace wordAt = reader.Here();
        const std::string_view word = reader.Word();
        if (word != CODE_PAGE_WORD) {
            return reader.Fail(wordAt, [word] {
                return "expected code-page N or the end of the header, found " + DumpLineReader::Found(word);
            });
        }
        WrittenNumber number;
        InputPlace numberAt;
        if (!reader.Number("the code page's number", number, numberAt)) {
            return false;
        }
        std::string error;
        patch.page = CodePage::Parse(number.text, error);
        if (patch.page == nullptr) {
            return reader.Fail(numberAt, [&error] { return error; });
        }
        if (optionPage != nullptr && optionPage != patch.page) {
            return reader.Fail(numberAt, [this] {
                return "the patch is in code page " + Number(patch.page->number) + ", but --code-page gives " +
                       Number(optionPage->number);
            });
        }
        return true;
    }

    void ReadChange(DumpLineReader& reader, int line)
    {
        const InputPlace wordAt = reader.Here();
        const std::string_view word = reader.Word();
        if (word != "tileset") {
            reader.Fail(wordAt, [word] {
                return "unknown line " + DumpNotation::TextExcerpt(word) +
                       ": expected tileset INDEX \"NAME\" FIELD: OLD -> NEW";
            });
            return;
        }
        PatchLine change;
        change.line = line;
        LinePlaces places;
        if (ReadTileset(reader, change, places) && ReadField(reader, change.field, places.field) &&
            reader.Expect(':', "a colon after the field") &&
            ReadValue(reader, change.field, change.before, places.before) && ReadArrow(reader) &&
            ReadValue(reader, change.field, change.after, places.after) && reader.End()) {
            Keep(std::move(change), places);
        }
    }

    bool ReadTileset(DumpLineReader& reader, PatchLine& change, LinePlaces& places)
    {
        WrittenNumber index;
        InputPlace indexAt;
        if (!reader.Number("the tileset's index", index, indexAt)) {
            return false;
        }
        if (index.value >= MAX_TILESET_COUNT) {
            return reader.Fail(indexAt, [&] {
                return "tileset " + Written(index) + ": a table holds at most " + Number(MAX_TILESET_COUNT) +
                       " tilesets, 0 to " + Number(MAX_TILESET_COUNT - 1);
            });
        }
        change.tileset = static_cast<int>(index.value);
        if (!reader.Quoted(text, places.name) || !TableBuilder::CheckText(text, places.name, errors)) {
            return false;
        }
        change.tilesetName = text.Bytes();
        return true;
    }

    static bool ReadField(DumpLineReader& reader, RecordField& field, InputPlace& fieldAt)
    {
        fieldAt = reader.Here();
        const std::string_view word = reader.Word(':');
        if (word == "name") {
            field = RecordField::Name();
        } else if (word == "ambient") {
            field = RecordField::Ambient();
        } else if (word == "slot") {
            WrittenNumber slot;
            InputPlace slotAt;
            if (!reader.Number("the slot's index", slot, slotAt, ':')) {
                return false;
            }
            if (slot.value >= SLOTS_PER_TILESET) {
                return reader.Fail(slotAt, [&] {
                    return "slot " + Written(slot) + ": a tileset has slots 0 to " + Number(SLOTS_PER_TILESET - 1);
                });
            }
            field = RecordField::Slot(static_cast<int>(slot.value));
        } else {
            return reader.Fail(fieldAt, [word] {
                return "unknown field " + DumpLineReader::Found(word) + ": expected name, ambient or slot N";
            });
        }
        return true;
    }

    bool ReadValue(DumpLineReader& reader, const RecordField& field, FieldValue& value, InputPlace& at)
    {
        if (!field.IsNumber()) {
            if (!reader.Quoted(text, at) || !TableBuilder::CheckText(text, at, errors)) {
                return false;
            }
            value.text = text.Bytes();
            return true;
        }
        WrittenNumber number;
        if (!reader.Number("the ambient number", number, at)) {
            return false;
        }
        if (number.value > MAX_AMBIENT) {
            return reader.Fail(at, [&] {
                return "ambient number " + Written(number) + ": expected 0 to " + Number(MAX_AMBIENT);
            });
        }
        value.number = static_cast<uint8_t>(number.value);
        return true;
    }

    static bool ReadArrow(DumpLineReader& reader)
    {
        const InputPlace arrowAt = reader.Here();
        const std::string_view word = reader.Word();
        return word == ARROW || reader.Fail(arrowAt, [word] {
            return "expected -> between the old and the new value, found " + DumpLineReader::Found(word);
        });
    }

    // A line is kept once it agrees with the patch's other lines: a field
    // once, a tileset under one name, and a change that changes something.
    void Keep(PatchLine&& change, const LinePlaces& places)
    {
        const RecordField& field = change.field;
        int& firstLine = firstLines[change.tileset * RecordField::COUNT + field.Index()];
        int& tilesetLine = tilesetLines[change.tileset];
        bool sound = true;
        if (firstLine != 0) {
            sound = Fail(places.field, [&] {
                return "tileset " + Number(change.tileset) + " " + field.Label() + " is given twice, first on line " +
                       Number(firstLine);
            });
        }
        if (tilesetLine != 0 && patch.lines[tilesetLine - 1].tilesetName != change.tilesetName) {
            const PatchLine& named = patch.lines[tilesetLine - 1];
            sound = Fail(places.name, [&] {
                return "tileset " + Number(change.tileset) + " is named " + Shown(named.tilesetName) + " on line " +
                       Number(named.line);
            });
        }
        if (field.IsName() && change.before.text != change.tilesetName) {
            sound = Fail(places.before, [&] {
                return "the old name " + Shown(change.before.text) + " is not the tileset's name " +
                       Shown(change.tilesetName) + " that the line gives";
            });
        }
        if (change.before.text == change.after.text && change.before.number == change.after.number) {
            sound = Fail(places.after, [] { return std::string("the old and the new value are the same"); });
        }
        if (!sound) {
            return;
        }
        firstLine = change.line;
        if (tilesetLine == 0) {
            tilesetLine = static_cast<int>(patch.lines.size()) + 1;
        }
        patch.lines.push_back(std::move(change));
    }

    template <typename Message>
    bool Fail(const InputPlace& place, const Message& message)
    {
        errors.Add(place, message);
        return false;
    }

    std::string Shown(const std::string& bytes) const
    {
        std::string shown;
        DumpNotation::AppendText(bytes.data(), bytes.size(), patch.page, shown);
        return shown;
    }

    const CodePageTable* const optionPage;
    InputErrorList& errors;
    TablePatch& patch;
    // For each tileset and field, the line that gave it; 0 while none did.
    std::vector<int> firstLines;
    // For each tileset, the place in patch.lines (from 1) of its first line; 0 while none.
    std::vector<int> tilesetLines;
    InputText text;
    int headerLine = 0;
    bool stopped = false;
};

} // namespace

std::string TablePatch::Between(const TilesetTable& base, const TilesetTable& changed, const CodePageTable* page)
{
    std::string out = HEADER;
    if (page != nullptr) {
        out += std::string(" ") + CODE_PAGE_WORD + " " + Number(page->number);
    }
    out += '\n';
    const std::vector<RecordField> fields = RecordField::All();
    std::string start;
    for (int i = 0; i < base.RecordCount(); ++i) {
        const TilesetRecord& old = base.RecordAt(i);
        const TilesetRecord& now = changed.RecordAt(i);
        start.clear();
        for (const RecordField& field : fields) {
            if (field.Same(old, now)) {
                continue;
            }
            if (start.empty()) {
                const std::string name = RecordText::Name(old);
                start = "tileset " + Number(static_cast<uint64_t>(i)) + " ";
                DumpNotation::AppendText(name.data(), name.size(), page, start);
                start += ' ';
            }
            out += start;
            out += field.Label();
            out += ": ";
            out += field.Shown(old, page);
            out += ' ';
            out += ARROW;
            out += ' ';
            out += field.Shown(now, page);
            out += '\n';
        }
    }
    return out;
}

TablePatch TablePatch::Read(const std::string& input, const CodePageTable* optionPage, InputErrorList& errors)
{
    TablePatch patch;
    // A line a field at most: no more than the fields of the largest table are kept.
    const auto lineEnds = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n'));
    patch.lines.reserve(std::min<std::size_t>(lineEnds, std::size_t{MAX_TILESET_COUNT} * RecordField::COUNT));
    PatchReader reader(optionPage, errors, patch);
    DumpLineReader::ReadLines(input, reader);
    return patch;
}
