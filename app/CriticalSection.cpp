// The RAII critical section behind the shell's two locks.
#include "app/CriticalSection.h"

CriticalSection::CriticalSection()
{
    InitializeCriticalSection(&section);
    live = true;
}

CriticalSection::~CriticalSection()
{
    Delete();
}

// Once deleted, only the exit-time code of the process's one thread runs, so
// there is nothing left to exclude.
void CriticalSection::Enter()
{
    if (live) {
        EnterCriticalSection(&section);
    }
}

void CriticalSection::Leave()
{
    if (live) {
        LeaveCriticalSection(&section);
    }
}

void CriticalSection::Delete()
{
    if (live) {
        live = false;
        DeleteCriticalSection(&section);
    }
}
