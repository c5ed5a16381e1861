#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum TilesetFileProblemKind {
    TILESET_PROBLEM_EMPTY_FILE,
    // The file ends before its 5-byte header does.
    TILESET_PROBLEM_HEADER_CUT_SHORT,
    // The header declares more tilesets than the file holds whole entries for.
    TILESET_PROBLEM_MISSING_ENTRIES,
    // Fewer slots per tileset than the 151 the writer writes: the editor reads
    // them and saves 151.
    TILESET_PROBLEM_FEWER_SLOTS,
    // More slots per tileset than a record holds: the editor refuses the file.
    TILESET_PROBLEM_TOO_MANY_SLOTS,
    // The file ends inside an entry.
    TILESET_PROBLEM_ENTRY_CUT_SHORT,
    TILESET_PROBLEM_NAME_WITHOUT_NUL,
    TILESET_PROBLEM_SLOT_WITHOUT_NUL,
    // found counts the bytes; 0 where the file's size is not known.
    TILESET_PROBLEM_BYTES_AFTER_ENTRIES,
};

// Where a file with more slots per tileset than a tileset holds is told: the
// editor, the table tool and the checker word it each their own way.
enum TooManySlotsWording {
    TOO_MANY_SLOTS_EDITOR,
    TOO_MANY_SLOTS_TOOL,
    TOO_MANY_SLOTS_CHECK,
};

// E.g. "has 152 slots per tileset, more than the 151 a tileset holds".
std::string TooManySlotsWords(TooManySlotsWording wording, uint64_t slotCount);

// One fault of a tileset table file, at the byte offset where it lies.
struct TilesetFileProblem {
    TilesetFileProblemKind kind;
    uint64_t offset;
    // The counts the kind compares: bytes, entries or slots per tileset.
    uint64_t found = 0;
    uint64_t expected = 0;
    // Which field, where the kind names one.
    int tileset = -1;
    uint64_t slot = 0;

    bool operator==(const TilesetFileProblem& other) const;
    // One line without the offset, e.g. "slot 4 of tileset 2 has no NUL within its 32 bytes".
    std::string Description() const;
};

// What the editor tells after loading a file with problems: the first few of
// them, how many more there are, and what a save will write in their place.
// namesListed is how many tileset names the load read, of recordCount.
std::string LoadedDamageMessage(const std::string& fileName, const std::vector<TilesetFileProblem>& problems,
                                int namesListed, int recordCount);
