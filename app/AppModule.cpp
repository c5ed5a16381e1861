// The application module: the instance handle that templates and icons are
// loaded from, and the thread-to-loop registry. The registry is two parallel
// arrays with no spare capacity, kept in the order of registration; keys may
// repeat and the first match wins.
#include "app/AppModule.h"

#include "app/ScopedLock.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

struct AppModule::LoopRegistry {
    DWORD* keys = nullptr;
    MessageLoop** values = nullptr;
    int count = 0;
};

namespace {

// realloc to exactly count entries; false leaves the old storage in place.
template <typename T>
bool ResizeEntries(T*& entries, int count)
{
    void* const block = std::realloc(entries, static_cast<std::size_t>(count) * sizeof(T));
    if (block == nullptr) {
        return false;
    }
    entries = static_cast<T*>(block);
    return true;
}

// A failed shrink keeps the old, larger storage; the last entry releases it.
template <typename T>
void ShrinkEntries(T*& entries, int count)
{
    if (count == 0) {
        std::free(entries);
        entries = nullptr;
        return;
    }
    ResizeEntries(entries, count);
}

} // namespace

AppModule::AppModule() : instance(GetModuleHandleA(nullptr))
{
}

AppModule::~AppModule()
{
    DestroyRegistry();
}

HRESULT AppModule::Startup()
{
    if (loops == nullptr) {
        loops = new (std::nothrow) LoopRegistry;
    }
    return loops != nullptr ? S_OK : E_OUTOFMEMORY;
}

void AppModule::Shutdown()
{
    DestroyRegistry();
    lock.Delete();
}

BOOL AppModule::RegisterLoop(DWORD threadId, MessageLoop* loop)
{
    if (loops == nullptr || loops->count == INT_MAX) {
        return FALSE;
    }
    const int grown = loops->count + 1;
    if (!ResizeEntries(loops->keys, grown) || !ResizeEntries(loops->values, grown)) {
        return FALSE;
    }
    loops->keys[loops->count] = threadId;
    loops->values[loops->count] = loop;
    loops->count = grown;
    return TRUE;
}

BOOL AppModule::UnregisterLoop(DWORD threadId)
{
    if (loops == nullptr) {
        return FALSE;
    }
    int index = 0;
    while (index < loops->count && loops->keys[index] != threadId) {
        ++index;
    }
    if (index == loops->count) {
        return FALSE;
    }
    const std::size_t later = static_cast<std::size_t>(loops->count - index - 1);
    std::memmove(loops->keys + index, loops->keys + index + 1, later * sizeof(DWORD));
    std::memmove(loops->values + index, loops->values + index + 1, later * sizeof(MessageLoop*));
    --loops->count;
    ShrinkEntries(loops->keys, loops->count);
    ShrinkEntries(loops->values, loops->count);
    return TRUE;
}

MessageLoop* AppModule::FindLoop(DWORD threadId)
{
    ScopedLock guard(lock);
    if (loops == nullptr) {
        return nullptr;
    }
    for (int index = 0; index < loops->count; ++index) {
        if (loops->keys[index] == threadId) {
            return loops->values[index];
        }
    }
    return nullptr;
}

void AppModule::DestroyRegistry()
{
    if (loops != nullptr) {
        std::free(loops->keys);
        std::free(loops->values);
        delete loops;
        loops = nullptr;
    }
}
