#include "ui/ResizeEntryArray.h"

#include <cstdlib>
#include <type_traits>

// The storage is managed with realloc, which only trivial entries allow.
static_assert(std::is_trivially_copyable<ResizeEntry>::value, "entries are moved by realloc");

ResizeEntryArray::~ResizeEntryArray()
{
    Release();
}

bool ResizeEntryArray::Append(const ResizeEntry& entry)
{
    if (count == capacity) {
        if (capacity > INT32_MAX / 2) {
            return false;
        }
        const int32_t grown = capacity == 0 ? 1 : capacity * 2;
        void* const storage = std::realloc(data, static_cast<size_t>(grown) * sizeof(ResizeEntry));
        if (storage == nullptr) {
            return false;
        }
        data = static_cast<ResizeEntry*>(storage);
        capacity = grown;
    }
    data[count] = entry;
    ++count;
    return true;
}

void ResizeEntryArray::Release()
{
    std::free(data);
    data = nullptr;
    count = 0;
    capacity = 0;
}
