#pragma once

#include "app/IdleHandler.h"
#include "app/MessageFilter.h"
#include "app/ReferenceArray.h"
#include "app/Win32.h"

// The GUI thread's message loop. Registered filters may consume a message
// before it is translated and dispatched; registered idle handlers run when
// the queue runs empty. The loop references its filters and handlers and owns
// none of them.
class MessageLoop {
public:
    MessageLoop() = default;
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    BOOL RegisterFilter(MessageFilter* filter);
    BOOL RegisterIdleHandler(IdleHandler* handler);
    // Returns the wParam of the WM_QUIT that ends the loop.
    int RunUntilQuit();

    virtual BOOL ApplyFilters(MSG* msg);
    virtual BOOL RunIdleHandlers(int idleCount);

private:
    ReferenceArray<MessageFilter> filters;
    ReferenceArray<IdleHandler> idleHandlers;
    MSG msg = {};
};
