#pragma once

// The platform-free core of the resize engine: the entries and their array,
// the parsing of a rule table, the layout pass and the edge arithmetic that
// places one control. It reaches the controls through ResizeHost, which
// DialogResizer implements with the window system and the native tests over a
// map of rectangles, so that both run this very pass.
#include <cstdint>

#include "ui/LayoutRect.h"
#include "ui/ResizeRule.h"

// One element of the engine's rule array: a rule row with the control's
// rectangle as recorded at initialisation, in the host's client coordinates.
struct ResizeEntry {
    int32_t controlId = 0;
    uint32_t flags = 0;
    LayoutRect recorded;
};

// The engine's growable array of entries. It grows by doubling (from 0 to 1);
// a failed growth leaves it as it was.
class ResizeEntryArray {
public:
    ResizeEntryArray() = default;
    ~ResizeEntryArray();
    ResizeEntryArray(const ResizeEntryArray&) = delete;
    ResizeEntryArray& operator=(const ResizeEntryArray&) = delete;

    // False when the storage cannot grow; the entry is then not added.
    bool Append(const ResizeEntry& entry);
    void Release();

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }
    const ResizeEntry* Data() const { return data; }
    ResizeEntry* Data() { return data; }

private:
    ResizeEntry* data = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
};

// The window system's MulDiv: number * numerator / denominator with a 64-bit
// intermediate, rounded to the nearest integer with halves away from zero; -1
// for a zero denominator or a result outside [-2147483647, 2147483647], as the
// platform answers.
int32_t LayoutMulDiv(int32_t number, int32_t numerator, int32_t denominator);

// How a control is moved: to a new place and size, or (the correction of a
// group's previous member) to a new size where it stands.
enum ResizeMove { RESIZE_MOVE_AND_SIZE, RESIZE_SIZE_ONLY };

// What the pass needs of the host dialog: its controls by id, with their
// rectangles in the host's client coordinates.
class ResizeHost {
public:
    virtual bool ControlExists(int32_t controlId) const = 0;
    // False, leaving rect as it was, when the control's rectangle cannot be read.
    virtual bool ReadControlRect(int32_t controlId, LayoutRect& rect) const = 0;
    virtual void MoveControl(int32_t controlId, const LayoutRect& rect, ResizeMove move) = 0;
    // The whole control, erased before it is painted again.
    virtual void InvalidateControl(int32_t controlId) = 0;

protected:
    ~ResizeHost() = default;
};

// The client size a pass places for, and the one recorded at initialisation:
// every position follows from the recorded rectangles and their difference.
struct ResizeClientSizes {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t initialClientWidth = 0;
    int32_t initialClientHeight = 0;
};

// Parses a table up to its terminator, appending to entries each control's
// rectangle as the host reads it (all zero when it cannot). False when the
// markers are inconsistent: nested groups, closing a group that is not open
// or has no member, more than 255 members or a terminator inside a group.
bool ParseResizeRules(const ResizeRule* rules, const ResizeHost& host, ResizeEntryArray& entries);

// One layout pass: places every entry's control in order, a group's members
// within their group box, and moves them through the host. A member whose
// control does not exist neither enters its group's box nor counts as anyone's
// previous member. False, at the first bad group, when the array is
// inconsistent; an array that ParseResizeRules built never is.
bool RunResizePass(const ResizeEntryArray& entries, const ResizeClientSizes& sizes, ResizeHost& host);

int32_t GroupMemberCount(const ResizeEntry& lead);

// What placing one control needs besides the entry.
struct PlacementInput {
    ResizeClientSizes sizes;
    bool inGroup = false;
    LayoutRect groupBox;
    // The group's previous member, or null.
    const ResizeEntry* previous = nullptr;
};

// Where a control goes, and the correction of the previous group member's
// right or bottom edge that keeps the recorded gap to this control.
struct ControlPlacement {
    LayoutRect rect;
    bool move = false;
    bool invalidate = false;
    bool correctPreviousRight = false;
    int32_t previousRight = 0;
    bool correctPreviousBottom = false;
    int32_t previousBottom = 0;
};

// The edge arithmetic of the pass. current: the control's rectangle now.
ControlPlacement PlaceEdges(const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& current);
