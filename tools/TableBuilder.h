#pragma once

#include "data/TilesetTable.h"
#include "tools/DumpNotation.h"
#include "tools/InputErrorList.h"
#include "tools/InputText.h"
#include "tools/TableInputError.h"

#include <cstdint>
#include <string>
#include <vector>

// Builds a table from the values that a dump reader finds, and checks the
// table's rules on them. Both dump formats go through it, so that they word
// their errors alike; tilesets and slots that are never given stay empty.
class TableBuilder {
public:
    // A count above 255 is an error; the blocks are then checked against 255.
    void SetCount(const WrittenNumber& count, const InputPlace& at);
    // For a dump whose count is missing or refused: the blocks are still checked.
    void AssumeLargestCount();
    // For a dump that lists its tilesets without a count: each is started in
    // turn, and the count is set once the list is read (at: where the tileset
    // beyond the largest count starts, for the error).
    void ListTilesets();
    void EndList(uint64_t count, const InputPlace& at);
    // Starts the block of a tileset; the values that follow go to it. A block
    // beyond the count or given twice is an error, and its values are only checked.
    void StartTileset(const WrittenNumber& index, const InputPlace& at);
    // For a dump whose rows each name their tileset, in any order: as
    // StartTileset, but a tileset given before is taken up again.
    void SelectTileset(const WrittenNumber& index, const InputPlace& at);
    void SetName(const InputText& text, const InputPlace& at);
    void SetAmbient(const WrittenNumber& ambient, const InputPlace& at);
    void SetSlot(const WrittenNumber& slot, const InputPlace& slotAt, const InputText& text, const InputPlace& textAt);
    // message() gives the words, put together only for an error that is told.
    template <typename Message>
    void AddError(const InputPlace& at, const Message& message)
    {
        errors.Add(at, message);
    }

    // Where a reader's own errors go, among the builder's.
    InputErrorList& ErrorList();
    // A text that a field can hold: at most 31 bytes and no NUL; else an error into errors.
    static bool CheckText(const InputText& text, const InputPlace& at, InputErrorList& errors);
    // The errors told, in the order of their places in the input.
    const std::vector<TableInputError>& Errors() const;
    // All errors, told or not.
    uint64_t ErrorCount() const;
    // Complete once the whole dump was read without errors.
    TilesetTable& Table();

private:
    // The lines on which a tileset and each of its values were first given; 0 while not given.
    struct GivenLines {
        int tileset = 0;
        int name = 0;
        int ambient = 0;
        int slots[SLOTS_PER_TILESET] = {};
    };

    // Notes the line of a value's first giving; false when it was given before.
    bool FirstGiven(int& givenLine, const InputPlace& at);
    void GivenTwice(const std::string& what, int firstLine, const InputPlace& at);
    bool InTileset(const char* what, const InputPlace& at);

    TilesetTable table;
    InputErrorList errors;
    std::vector<GivenLines> given;
    bool tilesetStarted = false;
    // The tileset whose block is being read; -1 when its block was refused.
    int tileset = -1;
    // False while the count is in error: the table holds no records then.
    bool keepValues = false;
};
