#pragma once

#include "app/Win32.h"

#include <climits>
#include <cstddef>
#include <cstdlib>

// How a ReferenceArray gets its storage: realloc semantics, null on failure.
// A template parameter, so that a test can refuse growth.
using ReallocateFunction = void* (*)(void* block, std::size_t size);

inline void* ReallocateBlock(void* block, std::size_t size)
{
    return std::realloc(block, size);
}

// A growable list of references that owns none of them. Capacity goes from 0
// to 1 and then doubles; a growth that fails leaves the list as it was.
// Entries may be null. Nothing is ever removed.
template <typename T, ReallocateFunction Reallocate = ReallocateBlock>
class ReferenceArray {
public:
    ReferenceArray() = default;
    ~ReferenceArray() { std::free(storage); }
    ReferenceArray(const ReferenceArray&) = delete;
    ReferenceArray& operator=(const ReferenceArray&) = delete;

    BOOL Append(T* item)
    {
        if (count == capacity && !Grow()) {
            return FALSE;
        }
        storage[count] = item;
        ++count;
        return TRUE;
    }

    int Count() const { return count; }
    int Capacity() const { return capacity; }

    T* At(int index) const
    {
        if (index < 0 || index >= count) {
            RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        }
        return storage[index];
    }

private:
    bool Grow()
    {
        if (capacity > INT_MAX / 2) {
            return false;
        }
        const int grown = capacity == 0 ? 1 : count * 2;
        void* const block = Reallocate(storage, static_cast<std::size_t>(grown) * sizeof(T*));
        if (block == nullptr) {
            return false;
        }
        storage = static_cast<T**>(block);
        capacity = grown;
        return true;
    }

    T** storage = nullptr;
    int count = 0;
    int capacity = 0;
};
