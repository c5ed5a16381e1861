#pragma once

// The platform-free half of the resize engine: turning a rule table into
// entries, walking the entries group by group, and the edge arithmetic that
// places one control. The window-facing half (DialogResizer) reads the
// rectangles, calls these and applies the results.
#include <cstdint>

#include "ui/LayoutRect.h"
#include "ui/ResizeEntry.h"
#include "ui/ResizeEntryArray.h"
#include "ui/ResizeRule.h"

// What one pass needs to know besides the entry being placed.
struct PlacementInput {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t initialClientWidth = 0;
    int32_t initialClientHeight = 0;
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

// current: the control's rectangle now, in the host's client coordinates.
ControlPlacement PlaceEdges(const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& current);

int32_t GroupMemberCount(const ResizeEntry& lead);

// Bounding box of the recorded rectangles of the members that exist; all
// zero when none does.
template <typename ControlExists>
LayoutRect GroupBox(const ResizeEntry* members, int32_t count, ControlExists controlExists);

// The index check of a pass: a lead at index must open a group of at least
// one member that ends inside the array.
bool GroupFits(int32_t index, int32_t members, int32_t count);

// Calls place(entry, groupBox, inGroup, previous) for every entry in order;
// entries outside a group get an all-zero box and no previous member. A member
// whose control does not exist neither enters its group's box nor counts as
// anyone's previous member. False, at the first bad group, when the array is
// inconsistent.
template <typename ControlExists, typename Place>
bool WalkResizeEntries(const ResizeEntry* entries, int32_t count, ControlExists controlExists, Place place);

enum ResizeMarkerStep { RESIZE_MARKER_NEXT, RESIZE_MARKER_END, RESIZE_MARKER_BAD };

// Applies one marker row to the open group index (-1 when none). Nested
// groups, closing a group that is not open or has no member, more than 255
// members and a terminator inside a group are all inconsistent.
ResizeMarkerStep ApplyResizeMarker(uint32_t marker, ResizeEntryArray& entries, int32_t& openIndex);

// Appends the entry of a control row; false when the array could not grow.
bool AppendResizeControl(const ResizeRule& row, const LayoutRect& recorded, int32_t openIndex,
                         ResizeEntryArray& entries);

// Parses a table up to its terminator, appending to entries. recordedRect(id)
// gives a control's rectangle. False when the markers are inconsistent.
template <typename RecordedRect>
bool ParseResizeRules(const ResizeRule* rules, ResizeEntryArray& entries, RecordedRect recordedRect);

template <typename ControlExists>
LayoutRect GroupBox(const ResizeEntry* members, int32_t count, ControlExists controlExists)
{
    LayoutRect box;
    bool empty = true;
    for (int32_t j = 0; j < count; ++j) {
        const ResizeEntry& member = members[j];
        if (!controlExists(member)) {
            continue;
        }
        const LayoutRect& r = member.recorded;
        if (empty) {
            box = r;
            empty = false;
            continue;
        }
        box.left = r.left < box.left ? r.left : box.left;
        box.top = r.top < box.top ? r.top : box.top;
        box.right = r.right > box.right ? r.right : box.right;
        box.bottom = r.bottom > box.bottom ? r.bottom : box.bottom;
    }
    return box;
}

template <typename ControlExists, typename Place>
bool WalkResizeEntries(const ResizeEntry* entries, int32_t count, ControlExists controlExists, Place place)
{
    int32_t i = 0;
    while (i < count) {
        const ResizeEntry& entry = entries[i];
        if ((entry.flags & RESIZE_GROUP_LEAD) == 0) {
            place(entry, LayoutRect{}, false, static_cast<const ResizeEntry*>(nullptr));
            ++i;
            continue;
        }
        const int32_t members = GroupMemberCount(entry);
        if (!GroupFits(i, members, count)) {
            return false;
        }
        const LayoutRect box = GroupBox(entries + i, members, controlExists);
        const ResizeEntry* previous = nullptr;
        for (int32_t j = i; j < i + members; ++j) {
            if (controlExists(entries[j])) {
                place(entries[j], box, true, previous);
                previous = &entries[j];
            }
        }
        i += members;
    }
    return true;
}

template <typename RecordedRect>
bool ParseResizeRules(const ResizeRule* rules, ResizeEntryArray& entries, RecordedRect recordedRect)
{
    int32_t openIndex = -1;
    for (const ResizeRule* row = rules;; ++row) {
        if (row->controlId != RESIZE_MARKER_ID) {
            AppendResizeControl(*row, recordedRect(row->controlId), openIndex, entries);
            continue;
        }
        const ResizeMarkerStep step = ApplyResizeMarker(row->flags, entries, openIndex);
        if (step != RESIZE_MARKER_NEXT) {
            return step == RESIZE_MARKER_END;
        }
    }
}
