#include "tools/RecordField.h"

#include "data/TilesetRecord.h"
#include "tools/DumpNotation.h"
#include "tools/RecordText.h"

#include <cstring>

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

int RecordField::Slot() const
{
    return slot;
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
    return slot == AMBIENT ? a.ambient == b.ambient : Text(a) == Text(b);
}

std::string RecordField::Shown(const TilesetRecord& record, const CodePageTable* page) const
{
    if (slot == AMBIENT) {
        return std::to_string(record.ambient);
    }
    const std::string text = Text(record);
    std::string shown;
    DumpNotation::AppendText(text.data(), text.size(), page, shown);
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
