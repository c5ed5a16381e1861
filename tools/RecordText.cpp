#include "tools/RecordText.h"

#include "data/TilesetFileFormat.h"

#include <cstdlib>
#include <cstring>

namespace {

// Callers check the length and the NUL first: a longer text would lose its end in the field.
void RequireFieldText(std::string_view text)
{
    if (text.size() >= NAME_FIELD_SIZE || text.find('\0') != std::string_view::npos) {
        std::abort();
    }
}

} // namespace

std::string RecordText::Name(const TilesetRecord& record)
{
    char field[TilesetFileFormat::FIELD_SIZE];
    TilesetFileFormat::NarrowName(record.name, field);
    return std::string(field, TilesetFileFormat::TextLength(field));
}

std::string RecordText::Slot(const TilesetRecord& record, int slot)
{
    return std::string(record.slots[slot], TilesetFileFormat::TextLength(record.slots[slot]));
}

void RecordText::SetName(std::string_view text, TilesetRecord& record)
{
    RequireFieldText(text);
    char field[TilesetFileFormat::FIELD_SIZE] = {};
    text.copy(field, text.size());
    TilesetFileFormat::WidenName(field, record.name);
}

void RecordText::SetSlot(std::string_view text, int slot, TilesetRecord& record)
{
    RequireFieldText(text);
    std::memset(record.slots[slot], 0, sizeof record.slots[slot]);
    text.copy(record.slots[slot], text.size());
}
