// The list of dialog objects waiting for their window's first message. Records
// carry the creating thread's id so that each thread takes only its own.
#include "app/PendingCreation.h"

#include "app/DialogWindow.h"
#include "app/ScopedLock.h"

void PendingCreation::PrepareCreation(DialogWindow* object)
{
    Record* const record = &object->pendingRecord;
    // Each lock is taken alone, so a record held by another list leaves it first.
    if (record->holder != nullptr && record->holder != this) {
        record->holder->Withdraw(object);
    }
    const DWORD threadId = GetCurrentThreadId();
    ScopedLock guard(lock);
    Unlink(record);
    record->object = object;
    record->threadId = threadId;
    record->holder = this;
    record->next = first;
    first = record;
}

DialogWindow* PendingCreation::TakePending()
{
    const DWORD threadId = GetCurrentThreadId();
    ScopedLock guard(lock);
    for (Record* record = first; record != nullptr; record = record->next) {
        if (record->threadId == threadId) {
            Unlink(record);
            return record->object;
        }
    }
    return nullptr;
}

void PendingCreation::Withdraw(DialogWindow* object)
{
    ScopedLock guard(lock);
    Unlink(&object->pendingRecord);
}

void PendingCreation::Unlink(Record* record)
{
    for (Record** link = &first; *link != nullptr; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            record->next = nullptr;
            record->holder = nullptr;
            return;
        }
    }
}
