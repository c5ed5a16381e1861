#include "ui/ResizeLayout.h"

#include <cstdlib>
#include <type_traits>

// The storage is managed with realloc, which only trivial entries allow.
static_assert(std::is_trivially_copyable<ResizeEntry>::value, "entries are moved by realloc");

ResizeEntryArray::~ResizeEntryArray()
{
    Release();
}

bool ResizeEntryArray::Append(const ResizeEntry& entry)
{
    if (count == capacity) {
        if (capacity > INT32_MAX / 2) {
            return false;
        }
        const int32_t grown = capacity == 0 ? 1 : capacity * 2;
        void* const storage = std::realloc(data, static_cast<size_t>(grown) * sizeof(ResizeEntry));
        if (storage == nullptr) {
            return false;
        }
        data = static_cast<ResizeEntry*>(storage);
        capacity = grown;
    }
    data[count] = entry;
    ++count;
    return true;
}

void ResizeEntryArray::Release()
{
    std::free(data);
    data = nullptr;
    count = 0;
    capacity = 0;
}

int32_t LayoutMulDiv(int32_t number, int32_t numerator, int32_t denominator)
{
    if (denominator == 0) {
        return -1;
    }
    int64_t product = static_cast<int64_t>(number) * numerator;
    int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    const int64_t quotient = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (quotient > INT32_MAX || quotient < -INT32_MAX) {
        return -1;
    }
    return static_cast<int32_t>(quotient);
}

namespace {

constexpr int32_t MAX_GROUP_MEMBERS = 255;

// Each axis is placed on its own, by the same arithmetic: the horizontal one
// reads left and right edges and widths, the vertical one top and bottom
// edges and heights.
enum Axis { AXIS_HORIZONTAL, AXIS_VERTICAL };

// The vertical rule flags are the horizontal ones one bit up.
static_assert(RESIZE_STRETCH_Y == RESIZE_STRETCH_X << 1 && RESIZE_SHIFT_Y == RESIZE_SHIFT_X << 1 &&
                  RESIZE_CENTER_Y == RESIZE_CENTER_X << 1,
              "vertical flags follow the horizontal ones");

// An entry's rule flags on one axis.
class AxisRule {
public:
    AxisRule(Axis axis, uint32_t flags) : bits(axis == AXIS_HORIZONTAL ? flags : flags >> 1) {}

    bool Center() const { return (bits & RESIZE_CENTER_X) != 0; }
    bool Stretch() const { return (bits & RESIZE_STRETCH_X) != 0; }
    bool Shift() const { return (bits & RESIZE_SHIFT_X) != 0; }

private:
    uint32_t bits;
};

// Left and right, or top and bottom.
struct Edges {
    int32_t low = 0;
    int32_t high = 0;

    int32_t Extent() const { return high - low; }
};

Edges EdgesOn(Axis axis, const LayoutRect& rect)
{
    Edges edges;
    edges.low = axis == AXIS_HORIZONTAL ? rect.left : rect.top;
    edges.high = axis == AXIS_HORIZONTAL ? rect.right : rect.bottom;
    return edges;
}

Edges Sized(int32_t low, int32_t extent)
{
    Edges edges;
    edges.low = low;
    edges.high = low + extent;
    return edges;
}

// The client extent the pass places for, and its difference from the
// recorded one.
struct AxisClient {
    int32_t extent = 0;
    int32_t delta = 0;
};

AxisClient ClientOn(Axis axis, const ResizeClientSizes& sizes)
{
    const bool horizontal = axis == AXIS_HORIZONTAL;
    AxisClient client;
    client.extent = horizontal ? sizes.clientWidth : sizes.clientHeight;
    client.delta = client.extent - (horizontal ? sizes.initialClientWidth : sizes.initialClientHeight);
    return client;
}

// Inside a group: the group box, and the previous member's recorded high edge
// when there is a previous member.
struct AxisGroup {
    Edges box;
    bool hasPrevious = false;
    int32_t previousRecordedHigh = 0;
};

AxisGroup GroupOn(Axis axis, const PlacementInput& input)
{
    AxisGroup group;
    group.box = EdgesOn(axis, input.groupBox);
    group.hasPrevious = input.previous != nullptr;
    if (group.hasPrevious) {
        group.previousRecordedHigh = EdgesOn(axis, input.previous->recorded).high;
    }
    return group;
}

// One axis of a placement.
struct AxisInput {
    AxisInput(Axis axis, const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& currentRect)
        : rule(axis, entry.flags), client(ClientOn(axis, input.sizes)), recorded(EdgesOn(axis, entry.recorded)),
          current(EdgesOn(axis, currentRect)), inGroup(input.inGroup), group(GroupOn(axis, input))
    {
    }

    const AxisRule rule;
    const AxisClient client;
    const Edges recorded;
    const Edges current;
    const bool inGroup;
    const AxisGroup group;
};

// Where one axis of the control goes, and where the previous member's high
// edge goes when it is to be corrected.
struct AxisPlacement {
    Edges edges;
    bool correctPrevious = false;
    int32_t previousHigh = 0;
};

AxisPlacement At(const Edges& edges)
{
    AxisPlacement placement;
    placement.edges = edges;
    return placement;
}

// Stretch and shift together act as shift alone outside a group.
AxisPlacement PlaceOutsideGroup(const AxisInput& axis)
{
    const int32_t extent = axis.recorded.Extent();
    if (axis.rule.Center()) {
        return At(Sized((axis.client.extent - extent) / 2, extent));
    }
    if (axis.rule.Stretch() || axis.rule.Shift()) {
        Edges edges;
        edges.low = axis.rule.Shift() ? axis.recorded.low + axis.client.delta : axis.current.low;
        edges.high = axis.recorded.high + axis.client.delta;
        return At(edges);
    }
    return At(axis.current);
}

// The group box grows by the whole delta and keeps its low edge; stretch and
// shift together act as stretch alone.
AxisPlacement PlaceInsideGroup(const AxisInput& axis)
{
    const int32_t extent = axis.recorded.Extent();
    const Edges& box = axis.group.box;
    const int32_t grown = box.Extent() + axis.client.delta;
    if (axis.rule.Center()) {
        return At(Sized(box.low + (grown - extent) / 2, extent));
    }
    if (!axis.rule.Stretch() && !axis.rule.Shift()) {
        return At(axis.current);
    }
    const int32_t low = box.low + LayoutMulDiv(axis.recorded.low - box.low, grown, box.Extent());
    if (!axis.rule.Stretch()) {
        return At(Sized(low, extent));
    }
    Edges edges;
    edges.low = low;
    edges.high = box.low + LayoutMulDiv(axis.recorded.high - box.low, grown, box.Extent());
    AxisPlacement placement = At(edges);
    placement.correctPrevious = axis.group.hasPrevious;
    placement.previousHigh = low - (axis.recorded.low - axis.group.previousRecordedHigh);
    return placement;
}

AxisPlacement PlaceAxis(const AxisInput& axis)
{
    return axis.inGroup ? PlaceInsideGroup(axis) : PlaceOutsideGroup(axis);
}

// The index check of a pass: a lead at index must open a group of at least
// one member that ends inside the array.
bool GroupFits(int32_t index, int32_t members, int32_t count)
{
    return index >= 0 && members >= 1 && members <= count - index;
}

// Bounding box of the recorded rectangles of the members that exist; all
// zero when none does.
LayoutRect GroupBox(const ResizeEntry* members, int32_t count, const ResizeHost& host)
{
    LayoutRect box;
    bool empty = true;
    for (int32_t j = 0; j < count; ++j) {
        const ResizeEntry& member = members[j];
        if (!host.ControlExists(member.controlId)) {
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

// Keeps the recorded gap between the previous group member and the control
// just placed; the vertical correction reads the member again after the
// horizontal one.
void CorrectPrevious(const ControlPlacement& placement, const ResizeEntry& previous, ResizeHost& host)
{
    LayoutRect rect;
    if (placement.correctPreviousRight && host.ReadControlRect(previous.controlId, rect)) {
        rect.right = placement.previousRight;
        host.MoveControl(previous.controlId, rect, RESIZE_SIZE_ONLY);
    }
    if (placement.correctPreviousBottom && host.ReadControlRect(previous.controlId, rect)) {
        rect.bottom = placement.previousBottom;
        host.MoveControl(previous.controlId, rect, RESIZE_SIZE_ONLY);
    }
}

// False, changing nothing, when the control's rectangle cannot be read.
bool PlaceControl(const PlacementInput& input, const ResizeEntry& entry, ResizeHost& host)
{
    LayoutRect current;
    if (!host.ReadControlRect(entry.controlId, current)) {
        return false;
    }
    const ControlPlacement placement = PlaceEdges(input, entry, current);
    if (input.previous != nullptr) {
        CorrectPrevious(placement, *input.previous, host);
    }
    if (placement.invalidate) {
        host.InvalidateControl(entry.controlId);
    }
    if (placement.move) {
        host.MoveControl(entry.controlId, placement.rect, RESIZE_MOVE_AND_SIZE);
    }
    return true;
}

void PlaceGroup(const ResizeEntry* members, int32_t count, const ResizeClientSizes& sizes, ResizeHost& host)
{
    PlacementInput input;
    input.sizes = sizes;
    input.inGroup = true;
    input.groupBox = GroupBox(members, count, host);
    for (int32_t j = 0; j < count; ++j) {
        if (host.ControlExists(members[j].controlId)) {
            PlaceControl(input, members[j], host);
            input.previous = &members[j];
        }
    }
}

enum ResizeMarkerStep { RESIZE_MARKER_NEXT, RESIZE_MARKER_END, RESIZE_MARKER_BAD };

// Applies one marker row to the open group index (-1 when none).
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

// Appends the entry of a control row; false when the array could not grow.
bool AppendResizeControl(const ResizeRule& row, const ResizeHost& host, int32_t openIndex, ResizeEntryArray& entries)
{
    ResizeEntry entry;
    entry.controlId = row.controlId;
    entry.flags = row.flags;
    if (openIndex != -1 && openIndex == entries.Count()) {
        entry.flags |= RESIZE_GROUP_LEAD;
    }
    host.ReadControlRect(row.controlId, entry.recorded);
    return entries.Append(entry);
}

} // namespace

bool ParseResizeRules(const ResizeRule* rules, const ResizeHost& host, ResizeEntryArray& entries)
{
    int32_t openIndex = -1;
    for (const ResizeRule* row = rules;; ++row) {
        if (row->controlId != RESIZE_MARKER_ID) {
            AppendResizeControl(*row, host, openIndex, entries);
            continue;
        }
        const ResizeMarkerStep step = ApplyResizeMarker(row->flags, entries, openIndex);
        if (step != RESIZE_MARKER_NEXT) {
            return step == RESIZE_MARKER_END;
        }
    }
}

bool RunResizePass(const ResizeEntryArray& entries, const ResizeClientSizes& sizes, ResizeHost& host)
{
    const ResizeEntry* const data = entries.Data();
    const int32_t count = entries.Count();
    PlacementInput alone;
    alone.sizes = sizes;
    int32_t i = 0;
    while (i < count) {
        const ResizeEntry& entry = data[i];
        if ((entry.flags & RESIZE_GROUP_LEAD) == 0) {
            PlaceControl(alone, entry, host);
            ++i;
            continue;
        }
        const int32_t members = GroupMemberCount(entry);
        if (!GroupFits(i, members, count)) {
            return false;
        }
        PlaceGroup(data + i, members, sizes, host);
        i += members;
    }
    return true;
}

int32_t GroupMemberCount(const ResizeEntry& lead)
{
    return static_cast<int32_t>((lead.flags & RESIZE_GROUP_COUNT_MASK) >> RESIZE_GROUP_COUNT_SHIFT);
}

ControlPlacement PlaceEdges(const PlacementInput& input, const ResizeEntry& entry, const LayoutRect& current)
{
    const AxisPlacement horizontal = PlaceAxis(AxisInput(AXIS_HORIZONTAL, input, entry, current));
    const AxisPlacement vertical = PlaceAxis(AxisInput(AXIS_VERTICAL, input, entry, current));
    ControlPlacement placement;
    placement.rect.left = horizontal.edges.low;
    placement.rect.right = horizontal.edges.high;
    placement.rect.top = vertical.edges.low;
    placement.rect.bottom = vertical.edges.high;
    placement.move = (entry.flags & RESIZE_RULE_FLAGS) != 0;
    placement.invalidate = (entry.flags & RESIZE_INVALIDATE) != 0;
    placement.correctPreviousRight = horizontal.correctPrevious;
    placement.previousRight = horizontal.previousHigh;
    placement.correctPreviousBottom = vertical.correctPrevious;
    placement.previousBottom = vertical.previousHigh;
    return placement;
}
