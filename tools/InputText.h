#pragma once

#include "data/TilesetRecord.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// A text as a dump reader decodes it: its first bytes, as many as a field and
// an error's quote could use, and its whole length. A text of megabytes takes
// no more memory than one that fits.
struct InputText {
    static constexpr std::size_t KEPT = NAME_FIELD_SIZE;

    void Clear() { length = 0; }

    void Add(char byte)
    {
        if (length < KEPT) {
            kept[length] = byte;
        }
        ++length;
    }

    void Add(const char* run, std::size_t count)
    {
        if (length < KEPT) {
            std::memcpy(kept + length, run, std::min<uint64_t>(count, KEPT - length));
        }
        length += count;
    }

    // The first bytes, all of them where length is at most KEPT.
    std::string_view Bytes() const { return {kept, static_cast<std::size_t>(std::min<uint64_t>(length, KEPT))}; }

    uint64_t length = 0;

private:
    char kept[KEPT] = {};
};
