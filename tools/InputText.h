#pragma once

#include "data/TilesetRecord.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

// A text as a dump reader decodes it: its first bytes, as many as a field and
// an error's quote could use, and its whole length. A text of megabytes takes
// no more memory than one that fits.
struct InputText {
    static constexpr std::size_t KEPT = NAME_FIELD_SIZE;

    void Clear()
    {
        bytes.clear();
        length = 0;
    }

    void Add(char byte)
    {
        if (bytes.size() < KEPT) {
            bytes += byte;
        }
        ++length;
    }

    void Add(const char* run, std::size_t count)
    {
        if (bytes.size() < KEPT) {
            bytes.append(run, std::min(count, KEPT - bytes.size()));
        }
        length += count;
    }

    // Whole when length is at most KEPT.
    std::string bytes;
    uint64_t length = 0;
};
