#pragma once

#include "app/CriticalSection.h"
#include "app/Win32.h"

class DialogWindow;

// The hand-over point through which a dialog object reaches the first message
// of the window being created for it. A list of records, newest first, each
// stored inside its DialogWindow, so the list allocates nothing.
class PendingCreation {
public:
    struct Record {
        DialogWindow* object = nullptr;
        DWORD threadId = 0;
        Record* next = nullptr;
        PendingCreation* holder = nullptr;
    };

    PendingCreation() = default;
    PendingCreation(const PendingCreation&) = delete;
    PendingCreation& operator=(const PendingCreation&) = delete;

    // Records the object for the current thread, just before its window is created.
    // Preparing an object again moves its one record to the front.
    void PrepareCreation(DialogWindow* object);
    // Unlinks and returns the newest object recorded by the current thread, or null.
    DialogWindow* TakePending();
    // Unlinks the object's record if it is still waiting for a window.
    void Withdraw(DialogWindow* object);

private:
    // The caller holds lock.
    void Unlink(Record* record);

    CriticalSection lock;
    Record* first = nullptr;
};

extern PendingCreation pendingCreation;
