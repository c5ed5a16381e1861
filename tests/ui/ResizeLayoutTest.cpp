#include "ui/ResizeLayout.h"

#include <gtest/gtest.h>

#include "tests/ui/LayoutRectPrinter.h"

#include <vector>

#include "res/ResourceIds.h"
#include "ui/MainDialogResizeRules.h"

namespace {

LayoutRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    LayoutRect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

ResizeEntry Entry(int32_t id, uint32_t flags, const LayoutRect& recorded)
{
    ResizeEntry entry;
    entry.controlId = id;
    entry.flags = flags;
    entry.recorded = recorded;
    return entry;
}

PlacementInput Outside(int32_t cx, int32_t cy, int32_t initialCx, int32_t initialCy)
{
    PlacementInput input;
    input.clientWidth = cx;
    input.clientHeight = cy;
    input.initialClientWidth = initialCx;
    input.initialClientHeight = initialCy;
    return input;
}

PlacementInput Inside(int32_t dx, int32_t dy, const LayoutRect& box, const ResizeEntry* previous)
{
    PlacementInput input = Outside(400 + dx, 300 + dy, 400, 300);
    input.inGroup = true;
    input.groupBox = box;
    input.previous = previous;
    return input;
}

// Controls of a pretend dialog, moved by a pass the way the engine's window
// part moves real ones: recorded rectangles in, placements applied.
class FakeHost {
public:
    void Add(int32_t id, const LayoutRect& rect) { controls.push_back({id, rect}); }

    LayoutRect* Find(int32_t id)
    {
        for (Control& control : controls) {
            if (control.id == id) {
                return &control.rect;
            }
        }
        return nullptr;
    }

    LayoutRect At(int32_t id) { return *Find(id); }

    bool Parse(const ResizeRule* rules)
    {
        return ParseResizeRules(rules, entries, [this](int32_t id) {
            const LayoutRect* rect = Find(id);
            return rect != nullptr ? *rect : LayoutRect{};
        });
    }

    bool Pass(int32_t cx, int32_t cy)
    {
        const auto exists = [this](const ResizeEntry& entry) { return Find(entry.controlId) != nullptr; };
        return WalkResizeEntries(entries.Data(), entries.Count(), exists,
                                 [&](const ResizeEntry& entry, const LayoutRect& box, bool inGroup,
                                     const ResizeEntry* previous) { Place(cx, cy, entry, box, inGroup, previous); });
    }

    ResizeEntryArray entries;
    int32_t initialWidth = 400;
    int32_t initialHeight = 300;

private:
    struct Control {
        int32_t id;
        LayoutRect rect;
    };

    void Place(int32_t cx, int32_t cy, const ResizeEntry& entry, const LayoutRect& box, bool inGroup,
               const ResizeEntry* previous)
    {
        LayoutRect* rect = Find(entry.controlId);
        if (rect == nullptr) {
            return;
        }
        PlacementInput input = Outside(cx, cy, initialWidth, initialHeight);
        input.inGroup = inGroup;
        input.groupBox = box;
        input.previous = previous;
        const ControlPlacement placement = PlaceEdges(input, entry, *rect);
        if (placement.correctPreviousRight) {
            Find(previous->controlId)->right = placement.previousRight;
        }
        if (placement.correctPreviousBottom) {
            Find(previous->controlId)->bottom = placement.previousBottom;
        }
        if (placement.move) {
            *rect = placement.rect;
        }
    }

    std::vector<Control> controls;
};

// The main window's controls as the template places them at 1.5 x 1.625
// pixels per dialog unit, client 498 x 317; the grip sits in the corner.
void AddMainWindowControls(FakeHost& host)
{
    host.initialWidth = 498;
    host.initialHeight = 317;
    host.Add(ID_ABOUT_BUTTON, Rect(412, 282, 487, 305));
    host.Add(ID_TILESET_LIST, Rect(9, 29, 166, 310));
    host.Add(ID_SLOT_LIST, Rect(171, 87, 396, 312));
    host.Add(ID_SAVE_BUTTON, Rect(412, 24, 487, 47));
    host.Add(ID_SLOT_NAME_EDIT, Rect(171, 58, 396, 81));
    host.Add(ID_AMBIENT_EDIT, Rect(333, 29, 393, 52));
    host.Add(ID_SIZE_GRIP, Rect(480, 299, 498, 317));
    host.entries.Append(Entry(ID_SIZE_GRIP, RESIZE_SHIFT_X | RESIZE_SHIFT_Y | RESIZE_INVALIDATE | RESIZE_OWN_GRIP,
                              host.At(ID_SIZE_GRIP)));
}

LayoutRect Moved(const LayoutRect& r, int32_t dx, int32_t dy)
{
    return Rect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

LayoutRect Grown(const LayoutRect& r, int32_t dx, int32_t dy)
{
    return Rect(r.left, r.top, r.right + dx, r.bottom + dy);
}

}

TEST(PlaceEdges, AtRecordedClientSizeEveryStretchAndShiftCombinationKeepsTheRecordedRect)
{
    const LayoutRect recorded = Rect(43, 17, 63, 39);
    const LayoutRect box = Rect(10, 5, 110, 80);
    for (uint32_t flags = 0; flags <= RESIZE_SHIFT_Y; ++flags) {
        const ResizeEntry entry = Entry(7, flags | RESIZE_INVALIDATE, recorded);
        EXPECT_EQ(PlaceEdges(Outside(400, 300, 400, 300), entry, recorded).rect, recorded) << flags;
        EXPECT_EQ(PlaceEdges(Inside(0, 0, box, nullptr), entry, recorded).rect, recorded) << flags;
    }
}

TEST(PlaceEdges, CenterXOutsideGroupTruncatesTheHalf)
{
    const ResizeEntry entry = Entry(7, RESIZE_CENTER_X, Rect(0, 10, 20, 30));
    const ControlPlacement placement = PlaceEdges(Outside(101, 300, 400, 300), entry, Rect(5, 10, 25, 30));
    EXPECT_EQ(placement.rect, Rect(40, 10, 60, 30));
}

TEST(PlaceEdges, CenterYOutsideGroupUsesTheClientHeight)
{
    const ResizeEntry entry = Entry(7, RESIZE_CENTER_Y, Rect(0, 10, 20, 31));
    const ControlPlacement placement = PlaceEdges(Outside(400, 50, 400, 300), entry, Rect(0, 10, 20, 31));
    EXPECT_EQ(placement.rect, Rect(0, 14, 20, 35));
}

TEST(PlaceEdges, CenterTakesPrecedenceOverStretchAndShiftOnItsAxis)
{
    const ResizeEntry entry =
        Entry(7, RESIZE_CENTER_X | RESIZE_STRETCH_X | RESIZE_SHIFT_X | RESIZE_SHIFT_Y, Rect(0, 10, 20, 30));
    const ControlPlacement placement = PlaceEdges(Outside(101, 350, 400, 300), entry, Rect(0, 10, 20, 30));
    EXPECT_EQ(placement.rect, Rect(40, 60, 60, 80));
}

TEST(PlaceEdges, CenterInsideGroupUsesTheStretchedBox)
{
    const ResizeEntry entry = Entry(7, RESIZE_CENTER_X | RESIZE_CENTER_Y, Rect(40, 30, 61, 40));
    const ControlPlacement placement = PlaceEdges(Inside(20, 11, Rect(10, 20, 110, 60), nullptr), entry,
                                                  Rect(40, 30, 61, 40));
    // Left 10 + (100 + 20 - 21) / 2 = 59; top 20 + (40 + 11 - 10) / 2 = 40.
    EXPECT_EQ(placement.rect, Rect(59, 40, 80, 50));
}

TEST(PlaceEdges, ShiftOutsideGroupMovesByTheDifference)
{
    const ResizeEntry entry = Entry(7, RESIZE_SHIFT_X | RESIZE_SHIFT_Y, Rect(300, 200, 350, 220));
    const ControlPlacement placement = PlaceEdges(Outside(430, 290, 400, 300), entry, Rect(300, 200, 350, 220));
    EXPECT_EQ(placement.rect, Rect(330, 190, 380, 210));
}

TEST(PlaceEdges, StretchOutsideGroupKeepsTheCurrentLowEdges)
{
    const ResizeEntry entry = Entry(7, RESIZE_STRETCH_X | RESIZE_STRETCH_Y, Rect(10, 20, 110, 120));
    const ControlPlacement placement = PlaceEdges(Outside(430, 340, 400, 300), entry, Rect(12, 25, 90, 95));
    EXPECT_EQ(placement.rect, Rect(12, 25, 140, 160));
}

TEST(PlaceEdges, StretchWithShiftActsAsShiftOutsideGroup)
{
    const ResizeEntry entry = Entry(7, RESIZE_STRETCH_X | RESIZE_SHIFT_X, Rect(10, 20, 110, 120));
    const ControlPlacement placement = PlaceEdges(Outside(430, 300, 400, 300), entry, Rect(10, 20, 110, 120));
    EXPECT_EQ(placement.rect, Rect(40, 20, 140, 120));
}

TEST(PlaceEdges, StretchWithShiftActsAsStretchInsideGroup)
{
    const ResizeEntry entry = Entry(7, RESIZE_STRETCH_X | RESIZE_SHIFT_X, Rect(60, 0, 110, 20));
    const ControlPlacement placement = PlaceEdges(Inside(20, 0, Rect(10, 0, 110, 20), nullptr), entry,
                                                  Rect(60, 0, 110, 20));
    EXPECT_EQ(placement.rect, Rect(70, 0, 130, 20));
}

TEST(PlaceEdges, ShiftInsideGroupScalesTheLeftEdgeAndKeepsTheWidth)
{
    const ResizeEntry entry = Entry(7, RESIZE_SHIFT_X, Rect(43, 5, 63, 15));
    const ControlPlacement placement = PlaceEdges(Inside(20, 0, Rect(10, 0, 110, 20), nullptr), entry,
                                                  Rect(43, 5, 63, 15));
    EXPECT_EQ(placement.rect, Rect(50, 5, 70, 15));
    EXPECT_FALSE(placement.correctPreviousRight);
}

TEST(PlaceEdges, ShiftYInsideGroupScalesTheTopEdge)
{
    const ResizeEntry entry = Entry(7, RESIZE_SHIFT_Y, Rect(0, 43, 20, 53));
    const ControlPlacement placement = PlaceEdges(Inside(0, 20, Rect(0, 10, 20, 110), nullptr), entry,
                                                  Rect(0, 43, 20, 53));
    EXPECT_EQ(placement.rect, Rect(0, 50, 20, 60));
}

TEST(PlaceEdges, StretchInsideGroupCorrectsThePreviousMemberToTheRecordedGap)
{
    const ResizeEntry a = Entry(1, RESIZE_STRETCH_X, Rect(10, 0, 50, 20));
    const ResizeEntry b = Entry(2, RESIZE_STRETCH_X, Rect(60, 0, 110, 20));
    const LayoutRect box = Rect(10, 0, 110, 20);
    const ControlPlacement first = PlaceEdges(Inside(20, 0, box, nullptr), a, a.recorded);
    EXPECT_EQ(first.rect, Rect(10, 0, 58, 20));
    EXPECT_FALSE(first.correctPreviousRight);
    const ControlPlacement second = PlaceEdges(Inside(20, 0, box, &a), b, b.recorded);
    EXPECT_EQ(second.rect, Rect(70, 0, 130, 20));
    EXPECT_TRUE(second.correctPreviousRight);
    EXPECT_EQ(second.previousRight, 60);
    EXPECT_FALSE(second.correctPreviousBottom);
}

TEST(PlaceEdges, StretchYInsideGroupCorrectsThePreviousMembersBottom)
{
    const ResizeEntry a = Entry(1, RESIZE_STRETCH_Y, Rect(0, 10, 20, 50));
    const ResizeEntry b = Entry(2, RESIZE_STRETCH_Y, Rect(0, 60, 20, 110));
    const ControlPlacement second = PlaceEdges(Inside(0, 20, Rect(0, 10, 20, 110), &a), b, b.recorded);
    EXPECT_EQ(second.rect, Rect(0, 70, 20, 130));
    EXPECT_TRUE(second.correctPreviousBottom);
    EXPECT_EQ(second.previousBottom, 60);
    EXPECT_FALSE(second.correctPreviousRight);
}

TEST(PlaceEdges, CenteredMemberCorrectsNoPreviousMember)
{
    const ResizeEntry a = Entry(1, RESIZE_STRETCH_X, Rect(10, 0, 50, 20));
    const ResizeEntry b = Entry(2, RESIZE_CENTER_X | RESIZE_STRETCH_X, Rect(60, 0, 110, 20));
    const ControlPlacement second = PlaceEdges(Inside(20, 0, Rect(10, 0, 110, 20), &a), b, b.recorded);
    EXPECT_FALSE(second.correctPreviousRight);
}

TEST(PlaceEdges, EntryWithoutRuleFlagsIsNeverMoved)
{
    const ResizeEntry entry = Entry(7, RESIZE_OWN_GRIP | RESIZE_GROUP_LEAD | (2u << 16), Rect(0, 0, 10, 10));
    const ControlPlacement placement = PlaceEdges(Outside(500, 400, 400, 300), entry, Rect(3, 3, 13, 13));
    EXPECT_FALSE(placement.move);
    EXPECT_FALSE(placement.invalidate);
}

TEST(PlaceEdges, InvalidateAloneRepaintsInPlace)
{
    const ResizeEntry entry = Entry(7, RESIZE_INVALIDATE, Rect(0, 0, 10, 10));
    const ControlPlacement placement = PlaceEdges(Outside(500, 400, 400, 300), entry, Rect(3, 4, 13, 14));
    EXPECT_TRUE(placement.invalidate);
    EXPECT_TRUE(placement.move);
    EXPECT_EQ(placement.rect, Rect(3, 4, 13, 14));
}

TEST(ParseResizeRules, MainWindowTableGivesFiveEntriesInTableOrder)
{
    ResizeEntryArray entries;
    ASSERT_TRUE(ParseResizeRules(MainDialogResizeRules, entries, [](int32_t) { return LayoutRect{}; }));
    const int32_t ids[] = {ID_TILESET_LIST, ID_SAVE_BUTTON, ID_ABOUT_BUTTON, ID_SLOT_NAME_EDIT, ID_SLOT_LIST};
    const uint32_t flags[] = {0x2, 0x4, 0xC, 0x1, 0x3};
    ASSERT_EQ(entries.Count(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(entries.Data()[i].controlId, ids[i]);
        EXPECT_EQ(entries.Data()[i].flags, flags[i]);
    }
}

TEST(ParseResizeRules, RecordsEachControlsRectangleAndReadsNoneForMarkers)
{
    std::vector<int32_t> asked;
    const ResizeRule rules[] = {{5, RESIZE_STRETCH_X}, {-1, RESIZE_GROUP_BEGIN}, {6, RESIZE_SHIFT_X},
                                {-1, RESIZE_GROUP_END}, {-1, 0}, {9, RESIZE_SHIFT_Y}};
    ResizeEntryArray entries;
    ASSERT_TRUE(ParseResizeRules(rules, entries, [&](int32_t id) {
        asked.push_back(id);
        return Rect(id, id * 2, id * 3, id * 4);
    }));
    EXPECT_EQ(asked, (std::vector<int32_t>{5, 6}));
    ASSERT_EQ(entries.Count(), 2);
    EXPECT_EQ(entries.Data()[1].recorded, Rect(6, 12, 18, 24));
}

TEST(ParseResizeRules, MarksTheFirstGroupMemberWithTheMemberCount)
{
    const ResizeRule rules[] = {{1, RESIZE_SHIFT_X},      {-1, RESIZE_GROUP_BEGIN}, {2, RESIZE_STRETCH_X | 0x00AB0000},
                                {3, RESIZE_STRETCH_X},    {4, RESIZE_SHIFT_X},      {-1, RESIZE_GROUP_END},
                                {-1, RESIZE_GROUP_BEGIN}, {5, RESIZE_SHIFT_Y},      {-1, RESIZE_GROUP_END},
                                {6, RESIZE_STRETCH_Y},    {-1, 0}};
    ResizeEntryArray entries;
    ASSERT_TRUE(ParseResizeRules(rules, entries, [](int32_t) { return LayoutRect{}; }));
    ASSERT_EQ(entries.Count(), 6);
    const uint32_t expected[] = {RESIZE_SHIFT_X,
                                 RESIZE_STRETCH_X | RESIZE_GROUP_LEAD | (3u << 16),
                                 RESIZE_STRETCH_X,
                                 RESIZE_SHIFT_X,
                                 RESIZE_SHIFT_Y | RESIZE_GROUP_LEAD | (1u << 16),
                                 RESIZE_STRETCH_Y};
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(entries.Data()[i].flags, expected[i]) << i;
    }
}

TEST(ParseResizeRules, SkipsMarkerRowsWithOtherFlags)
{
    const ResizeRule rules[] = {{1, RESIZE_SHIFT_X},      {-1, 0x0800},         {-1, RESIZE_GROUP_BEGIN},
                                {-1, 0x3000},             {2, RESIZE_STRETCH_X}, {-1, 0x0001},
                                {3, RESIZE_STRETCH_X},    {-1, RESIZE_GROUP_END}, {-1, 0x4000},
                                {4, RESIZE_STRETCH_Y},    {-1, 0}};
    ResizeEntryArray entries;
    ASSERT_TRUE(ParseResizeRules(rules, entries, [](int32_t) { return LayoutRect{}; }));
    ASSERT_EQ(entries.Count(), 4);
    EXPECT_EQ(entries.Data()[0].flags, RESIZE_SHIFT_X);
    EXPECT_EQ(entries.Data()[1].flags, RESIZE_STRETCH_X | RESIZE_GROUP_LEAD | (2u << 16));
    EXPECT_EQ(entries.Data()[2].flags, RESIZE_STRETCH_X);
    EXPECT_EQ(entries.Data()[3].controlId, 4);
}

TEST(ParseResizeRules, ReportsInconsistentGroupMarkers)
{
    const ResizeRule endWithoutGroup[] = {{1, RESIZE_SHIFT_X}, {-1, RESIZE_GROUP_END}, {-1, 0}};
    const ResizeRule emptyGroup[] = {{1, RESIZE_SHIFT_X}, {-1, RESIZE_GROUP_BEGIN}, {-1, RESIZE_GROUP_END}, {-1, 0}};
    const ResizeRule nestedGroup[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_SHIFT_X}, {-1, RESIZE_GROUP_BEGIN},
                                      {2, RESIZE_SHIFT_X},      {-1, RESIZE_GROUP_END}, {-1, 0}};
    const ResizeRule unclosedGroup[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_SHIFT_X}, {-1, 0}};
    const ResizeRule* const tables[] = {endWithoutGroup, emptyGroup, nestedGroup, unclosedGroup};
    for (const ResizeRule* table : tables) {
        ResizeEntryArray entries;
        EXPECT_FALSE(ParseResizeRules(table, entries, [](int32_t) { return LayoutRect{}; }));
    }
}

TEST(ParseResizeRules, GroupHoldsAtMost255Members)
{
    for (int32_t members : {255, 256}) {
        std::vector<ResizeRule> rules{{-1, RESIZE_GROUP_BEGIN}};
        for (int32_t id = 1; id <= members; ++id) {
            rules.push_back({id, RESIZE_SHIFT_X});
        }
        rules.push_back({-1, RESIZE_GROUP_END});
        rules.push_back({-1, 0});
        ResizeEntryArray entries;
        const bool parsed = ParseResizeRules(rules.data(), entries, [](int32_t) { return LayoutRect{}; });
        EXPECT_EQ(parsed, members == 255) << members;
        if (parsed) {
            EXPECT_EQ(GroupMemberCount(entries.Data()[0]), 255);
        }
    }
}

TEST(ResizeEntryArray, GrowsByDoublingFromOne)
{
    ResizeEntryArray entries;
    const int32_t capacities[] = {1, 2, 4, 4, 8, 8, 8, 8, 16};
    for (int32_t i = 0; i < 9; ++i) {
        ASSERT_TRUE(entries.Append(Entry(i, 0, Rect(i, 0, 0, 0))));
        EXPECT_EQ(entries.Capacity(), capacities[i]);
    }
    EXPECT_EQ(entries.Count(), 9);
    EXPECT_EQ(entries.Data()[8].controlId, 8);
    entries.Release();
    EXPECT_EQ(entries.Count(), 0);
    EXPECT_EQ(entries.Capacity(), 0);
    EXPECT_EQ(entries.Data(), nullptr);
}

TEST(WalkResizeEntries, PlacesEachEntryOnceInOrder)
{
    FakeHost host;
    const ResizeRule rules[] = {{1, RESIZE_SHIFT_X},     {-1, RESIZE_GROUP_BEGIN}, {2, RESIZE_STRETCH_X},
                                {3, RESIZE_STRETCH_X},   {-1, RESIZE_GROUP_END},   {4, RESIZE_SHIFT_Y},
                                {-1, 0}};
    for (int32_t id = 1; id <= 4; ++id) {
        host.Add(id, Rect(id * 20, 0, id * 20 + 10, 10));
    }
    ASSERT_TRUE(host.Parse(rules));
    std::vector<int32_t> order;
    std::vector<bool> grouped;
    ASSERT_TRUE(WalkResizeEntries(
        host.entries.Data(), host.entries.Count(), [](const ResizeEntry&) { return true; },
        [&](const ResizeEntry& entry, const LayoutRect&, bool inGroup, const ResizeEntry*) {
            order.push_back(entry.controlId);
            grouped.push_back(inGroup);
        }));
    EXPECT_EQ(order, (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(grouped, (std::vector<bool>{false, true, true, false}));
}

TEST(WalkResizeEntries, TwoStretchedMembersKeepTheirRecordedGap)
{
    FakeHost host;
    host.Add(1, Rect(10, 0, 50, 20));
    host.Add(2, Rect(60, 0, 110, 20));
    const ResizeRule rules[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_STRETCH_X}, {2, RESIZE_STRETCH_X},
                                {-1, RESIZE_GROUP_END},   {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    ASSERT_TRUE(host.Pass(420, 300));
    EXPECT_EQ(host.At(1), Rect(10, 0, 60, 20));
    EXPECT_EQ(host.At(2), Rect(70, 0, 130, 20));
}

TEST(WalkResizeEntries, MissingGroupMemberLeavesTheBoxAndTheGapChainAlone)
{
    FakeHost host;
    host.Add(1, Rect(10, 0, 50, 20));
    host.Add(2, Rect(60, 0, 110, 20));
    // Member 9 has no control; its meaningless rectangle lies far outside.
    const ResizeRule rules[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_STRETCH_X}, {9, RESIZE_STRETCH_X},
                                {2, RESIZE_STRETCH_X},    {-1, RESIZE_GROUP_END}, {-1, 0}};
    ASSERT_TRUE(ParseResizeRules(rules, host.entries, [&](int32_t id) {
        const LayoutRect* rect = host.Find(id);
        return rect != nullptr ? *rect : Rect(-900, -900, -880, -880);
    }));
    ASSERT_EQ(host.entries.Count(), 3);
    ASSERT_TRUE(host.Pass(420, 300));
    EXPECT_EQ(host.At(1), Rect(10, 0, 60, 20));
    EXPECT_EQ(host.At(2), Rect(70, 0, 130, 20));
}

TEST(WalkResizeEntries, RejectsALeadWhoseGroupDoesNotFit)
{
    for (uint32_t members : {0u, 3u}) {
        ResizeEntryArray entries;
        entries.Append(Entry(1, RESIZE_SHIFT_X, LayoutRect{}));
        entries.Append(Entry(2, RESIZE_SHIFT_X | RESIZE_GROUP_LEAD | (members << 16), LayoutRect{}));
        entries.Append(Entry(3, RESIZE_SHIFT_X, LayoutRect{}));
        int32_t placed = 0;
        EXPECT_FALSE(WalkResizeEntries(
            entries.Data(), entries.Count(), [](const ResizeEntry&) { return true; },
            [&](const ResizeEntry&, const LayoutRect&, bool, const ResizeEntry*) { ++placed; }))
            << members;
        EXPECT_EQ(placed, 1);
    }
}

TEST(GroupBox, BoundsTheRecordedRectanglesOfExistingMembers)
{
    const ResizeEntry members[] = {Entry(1, 0, Rect(10, 30, 50, 40)), Entry(2, 0, Rect(-500, -500, 900, 900)),
                                   Entry(3, 0, Rect(20, 5, 70, 25))};
    const auto exists = [](const ResizeEntry& entry) { return entry.controlId != 2; };
    EXPECT_EQ(GroupBox(members, 3, exists), Rect(10, 5, 70, 40));
    EXPECT_EQ(GroupBox(members + 1, 1, exists), LayoutRect{});
}

TEST(MainDialogResizeRules, AtTheRecordedSizeEveryControlStays)
{
    FakeHost host;
    AddMainWindowControls(host);
    ASSERT_TRUE(host.Parse(MainDialogResizeRules));
    FakeHost untouched;
    AddMainWindowControls(untouched);
    ASSERT_TRUE(host.Pass(498, 317));
    for (int32_t id : {ID_ABOUT_BUTTON, ID_TILESET_LIST, ID_SLOT_LIST, ID_SAVE_BUTTON, ID_SLOT_NAME_EDIT,
                       ID_AMBIENT_EDIT, ID_SIZE_GRIP}) {
        EXPECT_EQ(host.At(id), untouched.At(id)) << id;
    }
}

TEST(MainDialogResizeRules, HundredPixelsWiderStretchesTheSlotControlsAndShiftsTheButtons)
{
    FakeHost host;
    AddMainWindowControls(host);
    FakeHost before;
    AddMainWindowControls(before);
    ASSERT_TRUE(host.Parse(MainDialogResizeRules));
    ASSERT_TRUE(host.Pass(598, 317));
    EXPECT_EQ(host.At(ID_SLOT_NAME_EDIT), Grown(before.At(ID_SLOT_NAME_EDIT), 100, 0));
    EXPECT_EQ(host.At(ID_SLOT_LIST), Grown(before.At(ID_SLOT_LIST), 100, 0));
    EXPECT_EQ(host.At(ID_SAVE_BUTTON), Moved(before.At(ID_SAVE_BUTTON), 100, 0));
    EXPECT_EQ(host.At(ID_ABOUT_BUTTON), Moved(before.At(ID_ABOUT_BUTTON), 100, 0));
    EXPECT_EQ(host.At(ID_SIZE_GRIP), Moved(before.At(ID_SIZE_GRIP), 100, 0));
    EXPECT_EQ(host.At(ID_TILESET_LIST), before.At(ID_TILESET_LIST));
    EXPECT_EQ(host.At(ID_AMBIENT_EDIT), before.At(ID_AMBIENT_EDIT));
}

TEST(MainDialogResizeRules, FiftyPixelsTallerStretchesTheListsAndMovesTheCornerControls)
{
    FakeHost host;
    AddMainWindowControls(host);
    FakeHost before;
    AddMainWindowControls(before);
    ASSERT_TRUE(host.Parse(MainDialogResizeRules));
    ASSERT_TRUE(host.Pass(498, 367));
    EXPECT_EQ(host.At(ID_TILESET_LIST), Grown(before.At(ID_TILESET_LIST), 0, 50));
    EXPECT_EQ(host.At(ID_SLOT_LIST), Grown(before.At(ID_SLOT_LIST), 0, 50));
    EXPECT_EQ(host.At(ID_ABOUT_BUTTON), Moved(before.At(ID_ABOUT_BUTTON), 0, 50));
    EXPECT_EQ(host.At(ID_SIZE_GRIP), Moved(before.At(ID_SIZE_GRIP), 0, 50));
    EXPECT_EQ(host.At(ID_SAVE_BUTTON), before.At(ID_SAVE_BUTTON));
    EXPECT_EQ(host.At(ID_SLOT_NAME_EDIT), before.At(ID_SLOT_NAME_EDIT));
    EXPECT_EQ(host.At(ID_AMBIENT_EDIT), before.At(ID_AMBIENT_EDIT));
}

TEST(WalkResizeEntries, RepeatedPassesDoNotAccumulateRounding)
{
    FakeHost host;
    host.Add(1, Rect(7, 3, 40, 19));
    host.Add(2, Rect(45, 3, 91, 19));
    host.Add(3, Rect(7, 23, 91, 61));
    const ResizeRule rules[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_STRETCH_X},     {2, RESIZE_STRETCH_X},
                                {3, RESIZE_STRETCH_Y},    {-1, RESIZE_GROUP_END},   {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    for (int32_t step = 1; step <= 40; ++step) {
        ASSERT_TRUE(host.Pass(400 + step * 7, 300 + step * 3));
    }
    ASSERT_TRUE(host.Pass(400, 300));
    EXPECT_EQ(host.At(1), Rect(7, 3, 40, 19));
    EXPECT_EQ(host.At(2), Rect(45, 3, 91, 19));
    EXPECT_EQ(host.At(3), Rect(7, 23, 91, 61));
}
