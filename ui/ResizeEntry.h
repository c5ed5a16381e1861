#pragma once

// One element of the engine's rule array: a rule row with the control's
// rectangle as recorded at initialisation, in the host's client coordinates.
#include <cstdint>

#include "ui/LayoutRect.h"

struct ResizeEntry {
    int32_t controlId = 0;
    uint32_t flags = 0;
    LayoutRect recorded;
};
