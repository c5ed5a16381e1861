#pragma once

#include <string>
#include <string_view>

struct TilesetRecord;

// A record's texts as the bytes of the file: the name narrowed from its
// widened units, a slot up to its NUL.
namespace RecordText {

std::string Name(const TilesetRecord& record);
std::string Slot(const TilesetRecord& record, int slot);
// text is at most 31 bytes with no NUL; the rest of the field becomes zero,
// as after the editor's load.
void SetName(std::string_view text, TilesetRecord& record);
void SetSlot(std::string_view text, int slot, TilesetRecord& record);

} // namespace RecordText
