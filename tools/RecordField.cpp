#include "tools/RecordField.h"

#include "data/TilesetRecord.h"
#include "tools/DumpNotation.h"
#include "tools/RecordText.h"

#include <cstring>

namespace {

const int NAME_FIELD = -2;
const int AMBIENT_FIELD = -1;

static_assert(RecordField::COUNT == SLOTS_PER_TILESET - NAME_FIELD,
              "a field for the name, the ambient number and each slot");

} // namespace

RecordField::RecordField(int slot) : slot(slot)
{
}

std::vector<RecordField> RecordField::All()
{
    std::vector<RecordField> fields;
    for (int slot = NAME_FIELD; slot < SLOTS_PER_TILESET; ++slot) {
        fields.push_back(RecordField(slot));
    }
    return fields;
}

RecordField RecordField::Name()
{
    return RecordField(NAME_FIELD);
}

RecordField RecordField::Ambient()
{
    return RecordField(AMBIENT_FIELD);
}

RecordField RecordField::Slot(int slot)
{
    return RecordField(slot);
}

int RecordField::Index() const
{
    return slot - NAME_FIELD;
}

bool RecordField::IsNumber() const
{
    return slot == AMBIENT_FIELD;
}

bool RecordField::IsName() const
{
    return slot == NAME_FIELD;
}

std::string RecordField::Label() const
{
    if (slot == NAME_FIELD) {
        return "name";
    }
    if (slot == AMBIENT_FIELD) {
        return "ambient";
    }
    return "slot " + std::to_string(slot);
}

bool RecordField::Same(const TilesetRecord& a, const TilesetRecord& b) const
{
    if (slot == AMBIENT_FIELD) {
        return a.ambient == b.ambient;
    }
    if (slot != NAME_FIELD) {
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
    if (slot == AMBIENT_FIELD) {
        return {{}, record.ambient};
    }
    return {Text(record), 0};
}

bool RecordField::Holds(const TilesetRecord& record, const FieldValue& value) const
{
    if (slot == AMBIENT_FIELD) {
        return record.ambient == value.number;
    }
    if (slot == NAME_FIELD) {
        return RecordText::Name(record) == value.text;
    }
    const char* const text = record.slots[slot];
    return value.text.size() < sizeof record.slots[slot] && text[value.text.size()] == '\0' &&
           value.text.compare(0, value.text.size(), text, value.text.size()) == 0;
}

void RecordField::Set(const FieldValue& value, TilesetRecord& record) const
{
    if (slot == NAME_FIELD) {
        RecordText::SetName(value.text, record);
    } else if (slot == AMBIENT_FIELD) {
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
    if (slot == AMBIENT_FIELD) {
        return std::to_string(value.number);
    }
    std::string shown;
    DumpNotation::AppendText(value.text.data(), value.text.size(), page, shown);
    return shown;
}

void RecordField::Copy(const TilesetRecord& from, TilesetRecord& to) const
{
    if (slot == NAME_FIELD) {
        std::memcpy(to.name, from.name, sizeof to.name);
    } else if (slot == AMBIENT_FIELD) {
        to.ambient = from.ambient;
    } else {
        std::memcpy(to.slots[slot], from.slots[slot], sizeof to.slots[slot]);
    }
}

std::string RecordField::Text(const TilesetRecord& record) const
{
    return slot == NAME_FIELD ? RecordText::Name(record) : RecordText::Slot(record, slot);
}
