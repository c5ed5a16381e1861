#include "tools/RecordText.h"

#include "data/TilesetRecord.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Callers check the length and the NUL first: a longer text would lose its end in the field.
void RequireFieldText(const std::string& text)
{
    if (text.size() >= NAME_FIELD_SIZE || text.find('\0') != std::string::npos) {
        std::abort();
    }
}

} // namespace

// Each unit of the name is one byte of the file widened, so narrowing gives the file's bytes back.
std::string RecordText::Name(const TilesetRecord& record)
{
    std::string name;
    for (int k = 0; k < NAME_FIELD_SIZE && record.name[k] != 0; ++k) {
        name += static_cast<char>(record.name[k] & 0xFF);
    }
    return name;
}

std::string RecordText::Slot(const TilesetRecord& record, int slot)
{
    const char* const field = record.slots[slot];
    return std::string(field, std::find(field, field + NAME_FIELD_SIZE, '\0'));
}

void RecordText::SetName(const std::string& text, TilesetRecord& record)
{
    RequireFieldText(text);
    std::memset(record.name, 0, sizeof record.name);
    for (std::size_t k = 0; k < text.size(); ++k) {
        record.name[k] = static_cast<unsigned char>(text[k]);
    }
}

void RecordText::SetSlot(const std::string& text, int slot, TilesetRecord& record)
{
    RequireFieldText(text);
    std::memset(record.slots[slot], 0, sizeof record.slots[slot]);
    std::memcpy(record.slots[slot], text.data(), text.size());
}
