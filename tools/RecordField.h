#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CodePageTable;
struct TilesetRecord;

// A field's value apart from any record: the bytes of a text (at most 31, no
// NUL), or the ambient number.
struct FieldValue {
    std::string text;
    uint8_t number = 0;
};

// One value of a tileset that differs or merges on its own: the name, the
// ambient number or one slot.
class RecordField {
public:
    // The fields of a tileset: name, ambient number and the slots.
    static constexpr int COUNT = 153;
    // What SlotIndex() is for the two fields before the slots.
    static constexpr int NAME = -2;
    static constexpr int AMBIENT = -1;

    // Every field of a tileset in file order: name, ambient number, slots 0 to 150.
    static std::vector<RecordField> All();
    static RecordField Name();
    static RecordField Ambient();
    // slot is 0 to 150.
    static RecordField Slot(int slot);

    // The field's place in file order, 0 to COUNT - 1.
    int Index() const;
    // The slot's index, or NAME or AMBIENT.
    int SlotIndex() const;
    bool IsNumber() const;
    bool IsName() const;
    // "name", "ambient" or "slot N".
    std::string Label() const;
    bool Same(const TilesetRecord& a, const TilesetRecord& b) const;
    FieldValue Value(const TilesetRecord& record) const;
    bool Holds(const TilesetRecord& record, const FieldValue& value) const;
    void Set(const FieldValue& value, TilesetRecord& record) const;
    // The value as the dump shows it, plain or in the code page: a text in
    // quotes with its escapes, or a number.
    std::string Shown(const TilesetRecord& record, const CodePageTable* page) const;
    std::string Shown(const FieldValue& value, const CodePageTable* page) const;
    void Copy(const TilesetRecord& from, TilesetRecord& to) const;

private:
    explicit RecordField(int slot);
    // The bytes of the name or the slot.
    std::string Text(const TilesetRecord& record) const;

    // The slot's index, or one of the two fields before the slots.
    int slot;
};
