// The thread's message loop: filters first, then translation and dispatch,
// and one idle pass each time the queue empties after a message that counts.
#include "app/MessageLoop.h"

namespace {

// Mouse movement, painting and the caret-blink timer (0x0118) arrive all the
// time without anything having changed, so they do not call for an idle pass.
bool ArmsIdle(UINT message)
{
    return message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_PAINT && message != 0x0118;
}

} // namespace

BOOL MessageLoop::RegisterFilter(MessageFilter* filter)
{
    return filters.Append(filter);
}

BOOL MessageLoop::RegisterIdleHandler(IdleHandler* handler)
{
    return idleHandlers.Append(handler);
}

int MessageLoop::RunUntilQuit()
{
    bool idleArmed = true;
    int idleCount = 0;
    for (;;) {
        while (idleArmed && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            const BOOL moreIdleWork = RunIdleHandlers(idleCount);
            ++idleCount;
            if (!moreIdleWork) {
                idleArmed = false;
            }
        }
        const BOOL received = GetMessageA(&msg, nullptr, 0, 0);
        if (received == -1) {
            continue;
        }
        if (received == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (!ApplyFilters(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ArmsIdle(msg.message)) {
            idleArmed = true;
            idleCount = 0;
        }
    }
}

// The filter registered last is asked first, and the first that consumes the
// message hides it from the older ones.
BOOL MessageLoop::ApplyFilters(MSG* msg)
{
    for (int index = filters.Count() - 1; index >= 0; --index) {
        MessageFilter* const filter = filters.At(index);
        if (filter != nullptr && filter->FilterMessage(msg)) {
            return TRUE;
        }
    }
    return FALSE;
}

// The count is read anew at every step, so a handler registered during the
// pass runs in the same pass.
BOOL MessageLoop::RunIdleHandlers(int)
{
    for (int index = 0; index < idleHandlers.Count(); ++index) {
        IdleHandler* const handler = idleHandlers.At(index);
        if (handler != nullptr) {
            handler->HandleIdle();
        }
    }
    return FALSE;
}
