#pragma once

// The engine's growable array of entries. It grows by doubling (from 0 to 1);
// a failed growth leaves it as it was.
#include <cstdint>

#include "ui/ResizeEntry.h"

class ResizeEntryArray {
public:
    ResizeEntryArray() = default;
    ~ResizeEntryArray();
    ResizeEntryArray(const ResizeEntryArray&) = delete;
    ResizeEntryArray& operator=(const ResizeEntryArray&) = delete;

    // False when the storage cannot grow; the entry is then not added.
    bool Append(const ResizeEntry& entry);
    void Release();

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }
    const ResizeEntry* Data() const { return data; }
    ResizeEntry* Data() { return data; }

private:
    ResizeEntry* data = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
};
