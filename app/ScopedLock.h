#pragma once

#include "app/CriticalSection.h"

// Holds a critical section from construction to the end of the scope, also
// when an exception leaves the scope.
class ScopedLock {
public:
    explicit ScopedLock(CriticalSection& lock) : held(lock) { held.Enter(); }
    ~ScopedLock() { held.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& held;
};
