#pragma once

#include "app/Win32.h"

// Called when the message queue runs empty; the loop ignores the result.
class IdleHandler {
public:
    virtual BOOL HandleIdle() = 0;

protected:
    ~IdleHandler() = default;
};
