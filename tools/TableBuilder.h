#pragma once

#include "data/TilesetTable.h"
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
    void SetCount(uint64_t count, const InputPlace& at);
    // For a dump whose count is missing or refused: the blocks are still checked.
    void AssumeLargestCount();
    // Starts the block of a tileset; the values that follow go to it. A block
    // beyond the count or given twice is an error, and its values are only checked.
    void StartTileset(uint64_t index, const InputPlace& at);
    void SetName(const std::string& text, const InputPlace& at);
    void SetAmbient(uint64_t ambient, const InputPlace& at);
    void SetSlot(uint64_t slot, const InputPlace& slotAt, const std::string& text, const InputPlace& textAt);
    void AddError(const InputPlace& at, const std::string& message);

    // In the order of their places in the input.
    std::vector<TableInputError> Errors() const;
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

    bool CheckText(const std::string& text, const InputPlace& at);
    // Notes the line of a value's first giving; false when it was given before.
    bool FirstGiven(int& givenLine, const InputPlace& at);
    void GivenTwice(const std::string& what, int firstLine, const InputPlace& at);
    bool InTileset(const char* what, const InputPlace& at);

    TilesetTable table;
    std::vector<TableInputError> errors;
    std::vector<GivenLines> given;
    bool tilesetStarted = false;
    // The tileset whose block is being read; -1 when its block was refused.
    int tileset = -1;
    // False while the count is in error: the table holds no records then.
    bool keepValues = false;
};
