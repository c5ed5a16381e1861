#include "ui/ResizeLayout.h"

#include "ui/LayoutMulDiv.h"

namespace {

constexpr int32_t MAX_GROUP_MEMBERS = 255;

// One axis of a placement: horizontal reads left/right, vertical top/bottom.
struct AxisInput {
    bool center;
    bool stretch;
    bool shift;
    int32_t client;
    int32_t delta;
    int32_t recordedLow;
    int32_t recordedHigh;
    int32_t currentLow;
    int32_t currentHigh;
    bool inGroup;
    int32_t groupLow;
    int32_t groupExtent;
    bool hasPrevious;
    int32_t previousRecordedHigh;
};

struct AxisEdges {
    int32_t low;
    int32_t high;
    bool correctPrevious;
    int32_t previousHigh;
};

// Stretch and shift together act as shift alone outside a group.
AxisEdges PlaceOutsideGroup(const AxisInput& axis)
{
    const int32_t extent = axis.recordedHigh - axis.recordedLow;
    if (axis.center) {
        const int32_t low = (axis.client - extent) / 2;
        return {low, low + extent, false, 0};
    }
    if (axis.stretch || axis.shift) {
        const int32_t low = axis.shift ? axis.recordedLow + axis.delta : axis.currentLow;
        return {low, axis.recordedHigh + axis.delta, false, 0};
    }
    return {axis.currentLow, axis.currentHigh, false, 0};
}

// The group box grows by the whole delta and keeps its low edge; stretch and
// shift together act as stretch alone.
AxisEdges PlaceInsideGroup(const AxisInput& axis)
{
    const int32_t extent = axis.recordedHigh - axis.recordedLow;
    const int32_t grown = axis.groupExtent + axis.delta;
    if (axis.center) {
        const int32_t low = axis.groupLow + (grown - extent) / 2;
        return {low, low + extent, false, 0};
    }
    if (!axis.stretch && !axis.shift) {
        return {axis.currentLow, axis.currentHigh, false, 0};
    }
    const int32_t low = axis.groupLow + LayoutMulDiv(axis.recordedLow - axis.groupLow, grown, axis.groupExtent);
    if (!axis.stretch) {
        return {low, low + extent, false, 0};
    }
    const int32_t high = axis.groupLow + LayoutMulDiv(axis.recordedHigh - axis.groupLow, grown, axis.groupExtent);
    const int32_t recordedGap = axis.recordedLow - axis.previousRecordedHigh;
    return {low, high, axis.hasPrevious, low - recordedGap};
}

AxisEdges PlaceAxis(const AxisInput& axis)
{
    return axis.inGroup ? PlaceInsideGroup(axis) : PlaceOutsideGroup(axis);
}

AxisInput HorizontalAxis(const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& current)
{
    return {(entry.flags & RESIZE_CENTER_X) != 0,
            (entry.flags & RESIZE_STRETCH_X) != 0,
            (entry.flags & RESIZE_SHIFT_X) != 0,
            input.clientWidth,
            input.clientWidth - input.initialClientWidth,
            entry.recorded.left,
            entry.recorded.right,
            current.left,
            current.right,
            input.inGroup,
            input.groupBox.left,
            input.groupBox.Width(),
            input.previous != nullptr,
            input.previous != nullptr ? input.previous->recorded.right : 0};
}

AxisInput VerticalAxis(const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& current)
{
    return {(entry.flags & RESIZE_CENTER_Y) != 0,
            (entry.flags & RESIZE_STRETCH_Y) != 0,
            (entry.flags & RESIZE_SHIFT_Y) != 0,
            input.clientHeight,
            input.clientHeight - input.initialClientHeight,
            entry.recorded.top,
            entry.recorded.bottom,
            current.top,
            current.bottom,
            input.inGroup,
            input.groupBox.top,
            input.groupBox.Height(),
            input.previous != nullptr,
            input.previous != nullptr ? input.previous->recorded.bottom : 0};
}

}

ControlPlacement PlaceEdges(const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& current)
{
    const AxisEdges horizontal = PlaceAxis(HorizontalAxis(input, entry, current));
    const AxisEdges vertical = PlaceAxis(VerticalAxis(input, entry, current));
    ControlPlacement placement;
    placement.rect = {horizontal.low, vertical.low, horizontal.high, vertical.high};
    placement.move = (entry.flags & RESIZE_RULE_FLAGS) != 0;
    placement.invalidate = (entry.flags & RESIZE_INVALIDATE) != 0;
    placement.correctPreviousRight = horizontal.correctPrevious;
    placement.previousRight = horizontal.previousHigh;
    placement.correctPreviousBottom = vertical.correctPrevious;
    placement.previousBottom = vertical.previousHigh;
    return placement;
}

int32_t GroupMemberCount(const ResizeEntry& lead)
{
    return static_cast<int32_t>((lead.flags & RESIZE_GROUP_COUNT_MASK) >> RESIZE_GROUP_COUNT_SHIFT);
}

bool GroupFits(int32_t index, int32_t members, int32_t count)
{
    return index >= 0 && members >= 1 && members <= count - index;
}

ResizeMarkerStep ApplyResizeMarker(uint32_t marker, ResizeEntryArray& entries, int32_t& openIndex)
{
    const int32_t count = entries.Count();
    switch (marker) {
    case 0:
        return openIndex == -1 ? RESIZE_MARKER_END : RESIZE_MARKER_BAD;
    case RESIZE_GROUP_BEGIN:
        if (openIndex != -1) {
            return RESIZE_MARKER_BAD;
        }
        openIndex = count;
        return RESIZE_MARKER_NEXT;
    case RESIZE_GROUP_END: {
        if (openIndex < 0 || openIndex >= count || count - openIndex > MAX_GROUP_MEMBERS) {
            return RESIZE_MARKER_BAD;
        }
        ResizeEntry& lead = entries.Data()[openIndex];
        const uint32_t members = static_cast<uint32_t>(count - openIndex);
        lead.flags = (lead.flags & ~RESIZE_GROUP_COUNT_MASK) | (members << RESIZE_GROUP_COUNT_SHIFT);
        openIndex = -1;
        return RESIZE_MARKER_NEXT;
    }
    default:
        return RESIZE_MARKER_NEXT;
    }
}

bool AppendResizeControl(const ResizeRule& row, const LayoutRect& recorded, int32_t openIndex,
                         ResizeEntryArray& entries)
{
    ResizeEntry entry;
    entry.controlId = row.controlId;
    entry.flags = row.flags;
    if (openIndex != -1 && openIndex == entries.Count()) {
        entry.flags |= RESIZE_GROUP_LEAD;
    }
    entry.recorded = recorded;
    return entries.Append(entry);
}
