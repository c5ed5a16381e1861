#pragma once

// One row of a resize rule table: which control follows the window, and how.
#include <cstdint>

// Rule flags; only these seven bits steer the placement.
constexpr uint32_t RESIZE_STRETCH_X = 0x01;
constexpr uint32_t RESIZE_STRETCH_Y = 0x02;
constexpr uint32_t RESIZE_SHIFT_X = 0x04;
constexpr uint32_t RESIZE_SHIFT_Y = 0x08;
constexpr uint32_t RESIZE_INVALIDATE = 0x10;
constexpr uint32_t RESIZE_CENTER_X = 0x20;
constexpr uint32_t RESIZE_CENTER_Y = 0x40;
constexpr uint32_t RESIZE_RULE_FLAGS = 0x7F;

// Marker values of rows whose control id is RESIZE_MARKER_ID.
constexpr int32_t RESIZE_MARKER_ID = -1;
constexpr uint32_t RESIZE_GROUP_BEGIN = 0x1000;
constexpr uint32_t RESIZE_GROUP_END = 0x2000;

// Bits that only the engine sets on its entries: the first member of a group,
// which carries the member count in bits 16 to 23, and the grip it created.
constexpr uint32_t RESIZE_GROUP_LEAD = 0x1000;
constexpr uint32_t RESIZE_OWN_GRIP = 0x4000;
constexpr uint32_t RESIZE_GROUP_COUNT_SHIFT = 16;
constexpr uint32_t RESIZE_GROUP_COUNT_MASK = 0x00FF0000;

// A table ends with {RESIZE_MARKER_ID, 0}.
struct ResizeRule {
    int32_t controlId;
    uint32_t flags;
};
