#pragma once

#include "app/Win32.h"

// A critical section owned for its whole life. It can be deleted before its
// owner goes away (the application module deletes its lock at shutdown); after
// that, entering and leaving it do nothing, and destruction deletes nothing.
class CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    void Leave();
    void Delete();

private:
    CRITICAL_SECTION section;
    bool live = false;
};
