#pragma once

#include "app/Win32.h"

// Sees each retrieved message before it is translated and dispatched; a
// non-zero result means the filter has dealt with it.
class MessageFilter {
public:
    virtual BOOL FilterMessage(MSG* msg) = 0;

protected:
    ~MessageFilter() = default;
};
