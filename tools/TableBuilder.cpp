#include "tools/TableBuilder.h"

#include "tools/RecordText.h"

#include <algorithm>

namespace {

const uint64_t MAX_AMBIENT = 255;

std::string Number(uint64_t value)
{
    return std::to_string(value);
}

} // namespace

void TableBuilder::SetCount(uint64_t count, const InputPlace& at)
{
    if (count > MAX_TILESET_COUNT) {
        AddError(at, Number(count) + " tilesets: a table holds at most " + Number(MAX_TILESET_COUNT));
        AssumeLargestCount();
        return;
    }
    table.SetRecordCount(static_cast<int>(count));
    given.resize(count);
}

// The count is already an error, so the table is never written: only what is
// given is followed, for the checks, and no values are kept.
void TableBuilder::AssumeLargestCount()
{
    given.resize(MAX_TILESET_COUNT);
}

void TableBuilder::StartTileset(uint64_t index, const InputPlace& at)
{
    tilesetStarted = true;
    tileset = -1;
    if (index >= MAX_TILESET_COUNT) {
        AddError(at, "tileset " + Number(index) + ": a table holds at most " + Number(MAX_TILESET_COUNT) +
                         " tilesets, 0 to " + Number(MAX_TILESET_COUNT - 1));
    } else if (index >= given.size()) {
        AddError(at, "tileset " + Number(index) + " is beyond the count: the table has " + Number(given.size()) +
                         " tilesets" + (given.empty() ? "" : ", 0 to " + Number(given.size() - 1)));
    } else if (FirstGiven(given[index].tileset, at)) {
        tileset = static_cast<int>(index);
        keepValues = tileset < table.RecordCount();
    } else {
        GivenTwice("tileset " + Number(index), given[index].tileset, at);
    }
}

void TableBuilder::SetName(const std::string& text, const InputPlace& at)
{
    if (!InTileset("name", at) || !CheckText(text, at) || tileset < 0) {
        return;
    }
    if (!FirstGiven(given[tileset].name, at)) {
        GivenTwice("the name of tileset " + Number(tileset), given[tileset].name, at);
    } else if (keepValues) {
        RecordText::SetName(text, table.RecordAt(tileset));
    }
}

void TableBuilder::SetAmbient(uint64_t ambient, const InputPlace& at)
{
    if (!InTileset("ambient", at)) {
        return;
    }
    if (ambient > MAX_AMBIENT) {
        AddError(at, "ambient number " + Number(ambient) + ": expected 0 to " + Number(MAX_AMBIENT));
    } else if (tileset < 0) {
        return;
    } else if (!FirstGiven(given[tileset].ambient, at)) {
        GivenTwice("the ambient number of tileset " + Number(tileset), given[tileset].ambient, at);
    } else if (keepValues) {
        table.RecordAt(tileset).ambient = static_cast<uint8_t>(ambient);
    }
}

void TableBuilder::SetSlot(uint64_t slot, const InputPlace& slotAt, const std::string& text, const InputPlace& textAt)
{
    if (!InTileset("slot", slotAt)) {
        return;
    }
    if (slot >= SLOTS_PER_TILESET) {
        AddError(slotAt, "slot " + Number(slot) + ": a tileset has slots 0 to " + Number(SLOTS_PER_TILESET - 1));
        CheckText(text, textAt);
    } else if (!CheckText(text, textAt) || tileset < 0) {
        return;
    } else if (!FirstGiven(given[tileset].slots[slot], slotAt)) {
        GivenTwice("slot " + Number(slot) + " of tileset " + Number(tileset), given[tileset].slots[slot], slotAt);
    } else if (keepValues) {
        RecordText::SetSlot(text, static_cast<int>(slot), table.RecordAt(tileset));
    }
}

void TableBuilder::AddError(const InputPlace& at, const std::string& message)
{
    errors.emplace_back(at, message);
}

std::vector<TableInputError> TableBuilder::Errors() const
{
    std::vector<TableInputError> sorted = errors;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TableInputError& a, const TableInputError& b) {
        return a.Place().line != b.Place().line ? a.Place().line < b.Place().line
                                                : a.Place().column < b.Place().column;
    });
    return sorted;
}

TilesetTable& TableBuilder::Table()
{
    return table;
}

bool TableBuilder::CheckText(const std::string& text, const InputPlace& at)
{
    if (text.size() >= NAME_FIELD_SIZE) {
        AddError(at, "a text of " + Number(text.size()) + " bytes: expected at most " + Number(NAME_FIELD_SIZE - 1));
        return false;
    }
    // The file ends a text at its first NUL, so the bytes after one would be lost.
    if (text.find('\0') != std::string::npos) {
        AddError(at, "a text with a NUL byte in it: a text ends at its first NUL");
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
    AddError(at, what + " is given twice, first on line " + Number(static_cast<uint64_t>(firstLine)));
}

bool TableBuilder::InTileset(const char* what, const InputPlace& at)
{
    if (!tilesetStarted) {
        AddError(at, std::string(what) + " outside a tileset: expected \"tileset INDEX\" before it");
    }
    return tilesetStarted;
}
