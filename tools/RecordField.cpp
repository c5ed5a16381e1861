#include "tools/RecordField.h"

#include "data/TilesetRecord.h"
#include "tools/DumpNotation.h"
#include "tools/RecordText.h"

#include <cstring>

static_assert(RecordField::COUNT == SLOTS_PER_TILESET - RecordField::NAME,
              "a field for the name, the ambient number and each slot");

RecordField::RecordField(int slot) : slot(slot)
{
}

std::vector<RecordField> RecordField::All()
{
    std::vector<RecordField> fields;
    for (int slot = NAME; slot < SLOTS_PER_TILESET; ++slot) {
        fields.push_back(RecordField(slot));
    }
    return fields;
}

RecordField RecordField::Name()
{
    return RecordField(NAME);
}

RecordField RecordField::Ambient()
{
    return RecordField(AMBIENT);
}

RecordField RecordField::Slot(int slot)
{
    return RecordField(slot);
}

int RecordField::Index() const
{
    return slot - NAME;
}

int RecordField::SlotIndex() const
{
    return slot;
}

bool RecordField::IsNumber() const
{
    return slot == AMBIENT;
}

bool RecordField::IsName() const
{
    return slot == NAME;
}

std::string RecordField::Label() const
{
    if (slot == NAME) {
        return "name";
    }
    if (slot == AMBIENT) {
        return "ambient";
    }
    return "slot " + std::to_string(slot);
}

bool RecordField::Same(const TilesetRecord& a, const TilesetRecord& b) const
{
    if (slot == AMBIENT) {
        return a.ambient == b.ambient;
    }
    if (slot != NAME) {
        return std::strncmp(a.slots[slot], b.slots[slot], sizeof a.slots[slot]) == 0;
    }
    // As the names' bytes compare: each unit narrowed, up to the first zero byte.
    for (int k = 0; k < NAME_FIELD_SIZE; ++k) {
        const char aByte = static_cast<char>(a.name[k] & 0xFF);
        if (aByte != static_cast<char>(b.name[k] & 0xFF)) {
            return false;
        }
        if (aByte == '\0') {
            return true;
        }
    }
    return true;
}

FieldValue RecordField::Value(const TilesetRecord& record) const
{
    if (slot == AMBIENT) {
        return {{}, record.ambient};
    }
    return {Text(record), 0};
}

bool RecordField::Holds(const TilesetRecord& record, const FieldValue& value) const
{
    if (slot == AMBIENT) {
        return record.ambient == value.number;
    }
    if (slot == NAME) {
        return RecordText::Name(record) == value.text;
    }
    const char* const text = record.slots[slot];
    return value.text.size() < sizeof record.slots[slot] && text[value.text.size()] == '\0' &&
           value.text.compare(0, value.text.size(), text, value.text.size()) == 0;
}

void RecordField::Set(const FieldValue& value, TilesetRecord& record) const
{
    if (slot == NAME) {
        RecordText::SetName(value.text, record);
    } else if (slot == AMBIENT) {
        record.ambient = value.number;
    } else {
        RecordText::SetSlot(value.text, slot, record);
    }
}

std::string RecordField::Shown(const TilesetRecord& record, const CodePageTable* page) const
{
    return Shown(Value(record), page);
}

std::string RecordField::Shown(const FieldValue& value, const CodePageTable* page) const
{
    if (slot == AMBIENT) {
        return std::to_string(value.number);
    }
    std::string shown;
    DumpNotation::AppendText(value.text.data(), value.text.size(), page, shown);
    return shown;
}

void RecordField::Copy(const TilesetRecord& from, TilesetRecord& to) const
{
    if (slot == NAME) {
        std::memcpy(to.name, from.name, sizeof to.name);
    } else if (slot == AMBIENT) {
        to.ambient = from.ambient;
    } else {
        std::memcpy(to.slots[slot], from.slots[slot], sizeof to.slots[slot]);
    }
}

std::string RecordField::Text(const TilesetRecord& record) const
{
    return slot == NAME ? RecordText::Name(record) : RecordText::Slot(record, slot);
}
