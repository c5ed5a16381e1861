#pragma once

#include <string>
#include <vector>

struct CodePageTable;
struct TilesetRecord;

// One value of a tileset that differs or merges on its own: the name, the
// ambient number or one slot.
class RecordField {
public:
    // What Slot() is for the two fields before the slots.
    static constexpr int NAME = -2;
    static constexpr int AMBIENT = -1;

    // Every field of a tileset in file order: name, ambient number, slots 0 to 150.
    static std::vector<RecordField> All();

    // The slot's index, or NAME or AMBIENT.
    int Slot() const;

    // "name", "ambient" or "slot N".
    std::string Label() const;
    bool Same(const TilesetRecord& a, const TilesetRecord& b) const;
    // The value as the dump shows it, plain or in the code page: a text in
    // quotes with its escapes, or a number.
    std::string Shown(const TilesetRecord& record, const CodePageTable* page) const;
    void Copy(const TilesetRecord& from, TilesetRecord& to) const;

private:
    explicit RecordField(int slot);
    // The bytes of the name or the slot.
    std::string Text(const TilesetRecord& record) const;

    int slot;
};
