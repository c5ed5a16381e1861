#pragma once

#include "app/CriticalSection.h"
#include "app/Win32.h"

class MessageLoop;

// The process-wide application object: the program's module handle and the
// registry that maps a thread id to that thread's message loop.
class AppModule {
public:
    AppModule();
    ~AppModule();
    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;

    // S_OK, or E_OUTOFMEMORY when the registry cannot be allocated. A module
    // that is already started keeps its registry.
    HRESULT Startup();
    // Discards the registry and deletes the lock; destruction then does nothing more.
    void Shutdown();

    // The caller holds lock. FALSE when the registry is missing or cannot grow.
    BOOL RegisterLoop(DWORD threadId, MessageLoop* loop);
    // The caller holds lock. Removes the first entry for the thread; FALSE if there is none.
    BOOL UnregisterLoop(DWORD threadId);
    // Takes lock itself. The first loop registered for the thread, or null.
    MessageLoop* FindLoop(DWORD threadId);

    HINSTANCE instance;
    CriticalSection lock;

private:
    struct LoopRegistry;
    void DestroyRegistry();

    LoopRegistry* loops = nullptr;
};

extern AppModule appModule;
