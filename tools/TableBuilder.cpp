#include "tools/TableBuilder.h"

#include "tools/RecordText.h"

#include <cstring>
#include <utility>

namespace {

const uint64_t MAX_AMBIENT = 255;

std::string Number(uint64_t value)
{
    return std::to_string(value);
}

std::string Written(const WrittenNumber& number)
{
    return DumpNotation::NumberShown(number.text);
}

} // namespace

void TableBuilder::SetCount(const WrittenNumber& count, const InputPlace& at)
{
    if (count.value > MAX_TILESET_COUNT) {
        AddError(at, [&] { return Written(count) + " tilesets: a table holds at most " + Number(MAX_TILESET_COUNT); });
        AssumeLargestCount();
        return;
    }
    table.SetRecordCount(static_cast<int>(count.value));
    given.resize(count.value);
}

// The count is already an error, so the table is never written: only what is
// given is followed, for the checks, and no values are kept.
void TableBuilder::AssumeLargestCount()
{
    given.resize(MAX_TILESET_COUNT);
}

// Room for the largest table, cut to the count at the end of the list.
void TableBuilder::ListTilesets()
{
    table.SetRecordCount(MAX_TILESET_COUNT);
    given.resize(MAX_TILESET_COUNT);
}

void TableBuilder::EndList(uint64_t count, const InputPlace& at)
{
    if (count > MAX_TILESET_COUNT) {
        AddError(at, [&] { return Number(count) + " tilesets: a table holds at most " + Number(MAX_TILESET_COUNT); });
        return;
    }
    table.SetRecordCount(static_cast<int>(count));
}

void TableBuilder::StartTileset(const WrittenNumber& index, const InputPlace& at)
{
    tilesetStarted = true;
    tileset = -1;
    if (index.value >= MAX_TILESET_COUNT) {
        AddError(at, [&] {
            return "tileset " + Written(index) + ": a table holds at most " + Number(MAX_TILESET_COUNT) +
                   " tilesets, 0 to " + Number(MAX_TILESET_COUNT - 1);
        });
    } else if (index.value >= given.size()) {
        AddError(at, [&] {
            return "tileset " + Written(index) + " is beyond the count: the table has " + Number(given.size()) +
                   " tilesets" + (given.empty() ? "" : ", 0 to " + Number(given.size() - 1));
        });
    } else if (FirstGiven(given[index.value].tileset, at)) {
        tileset = static_cast<int>(index.value);
        keepValues = tileset < table.RecordCount();
    } else {
        GivenTwice("tileset " + Number(index.value), given[index.value].tileset, at);
    }
}

void TableBuilder::SelectTileset(const WrittenNumber& index, const InputPlace& at)
{
    if (index.value >= given.size() || given[index.value].tileset == 0) {
        StartTileset(index, at);
        return;
    }
    tileset = static_cast<int>(index.value);
    keepValues = tileset < table.RecordCount();
}

void TableBuilder::SetName(const InputText& text, const InputPlace& at)
{
    if (!InTileset("name", at)) {
        return;
    }
    // A faulty text is still a giving: a second one is told as well.
    const bool fits = CheckText(text, at, errors);
    if (tileset < 0) {
        return;
    }
    if (!FirstGiven(given[tileset].name, at)) {
        GivenTwice("the name of tileset " + Number(tileset), given[tileset].name, at);
    } else if (fits && keepValues) {
        RecordText::SetName(text.Bytes(), table.RecordAt(tileset));
    }
}

void TableBuilder::SetAmbient(const WrittenNumber& ambient, const InputPlace& at)
{
    if (!InTileset("ambient", at)) {
        return;
    }
    const bool fits = ambient.value <= MAX_AMBIENT;
    if (!fits) {
        AddError(at, [&] { return "ambient number " + Written(ambient) + ": expected 0 to " + Number(MAX_AMBIENT); });
    }
    if (tileset < 0) {
        return;
    }
    if (!FirstGiven(given[tileset].ambient, at)) {
        GivenTwice("the ambient number of tileset " + Number(tileset), given[tileset].ambient, at);
    } else if (fits && keepValues) {
        table.RecordAt(tileset).ambient = static_cast<uint8_t>(ambient.value);
    }
}

void TableBuilder::SetSlot(const WrittenNumber& slot, const InputPlace& slotAt, const InputText& text,
                           const InputPlace& textAt)
{
    if (!InTileset("slot", slotAt)) {
        return;
    }
    if (slot.value >= SLOTS_PER_TILESET) {
        AddError(slotAt, [&] {
            return "slot " + Written(slot) + ": a tileset has slots 0 to " + Number(SLOTS_PER_TILESET - 1);
        });
        CheckText(text, textAt, errors);
        return;
    }
    const bool fits = CheckText(text, textAt, errors);
    if (tileset < 0) {
        return;
    }
    if (!FirstGiven(given[tileset].slots[slot.value], slotAt)) {
        GivenTwice("slot " + Number(slot.value) + " of tileset " + Number(tileset), given[tileset].slots[slot.value],
                   slotAt);
    } else if (fits && keepValues) {
        RecordText::SetSlot(text.Bytes(), static_cast<int>(slot.value), table.RecordAt(tileset));
    }
}

InputErrorList& TableBuilder::ErrorList()
{
    return errors;
}

const std::vector<TableInputError>& TableBuilder::Errors() const
{
    return errors.Told();
}

uint64_t TableBuilder::ErrorCount() const
{
    return errors.Total();
}

TilesetTable& TableBuilder::Table()
{
    return table;
}

bool TableBuilder::CheckText(const InputText& text, const InputPlace& at, InputErrorList& errors)
{
    if (text.length >= NAME_FIELD_SIZE) {
        errors.Add(at, [&] {
            return "a text of " + Number(text.length) + " bytes: expected at most " + Number(NAME_FIELD_SIZE - 1);
        });
        return false;
    }
    // The file ends a text at its first NUL, so the bytes after one would be lost.
    if (text.Bytes().find('\0') != std::string_view::npos) {
        errors.Add(at, [] { return "a text with a NUL byte in it: a text ends at its first NUL"; });
        return false;
    }
    return true;
}

bool TableBuilder::FirstGiven(int& givenLine, const InputPlace& at)
{
    if (givenLine != 0) {
        return false;
    }
    givenLine = at.line;
    return true;
}

void TableBuilder::GivenTwice(const std::string& what, int firstLine, const InputPlace& at)
{
    AddError(at, [&] { return what + " is given twice, first on line " + Number(static_cast<uint64_t>(firstLine)); });
}

bool TableBuilder::InTileset(const char* what, const InputPlace& at)
{
    if (!tilesetStarted) {
        AddError(at, [&] { return std::string(what) + " outside a tileset: expected \"tileset INDEX\" before it"; });
    }
    return tilesetStarted;
}
