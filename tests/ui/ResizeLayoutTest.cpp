// The resize engine's arithmetic apart from the window system: rule tables
// parsed into entries, and passes over pretend controls.
#include "ui/ResizeLayout.h"

#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "tests/support/LayoutRects.h"
#include "ui/MainDialogResizeRules.h"

#include <map>
#include <ostream>
#include <vector>

namespace {

ResizeEntry Entry(int32_t id, uint32_t flags, const LayoutRect& recorded)
{
    ResizeEntry entry;
    entry.controlId = id;
    entry.flags = flags;
    entry.recorded = recorded;
    return entry;
}

// The recorded client size is 400 x 300 throughout.
PlacementInput Input(int32_t dx, int32_t dy, bool inGroup = false, const LayoutRect& box = LayoutRect{},
                     const ResizeEntry* previous = nullptr)
{
    PlacementInput input;
    input.sizes.clientWidth = 400 + dx;
    input.sizes.clientHeight = 300 + dy;
    input.sizes.initialClientWidth = 400;
    input.sizes.initialClientHeight = 300;
    input.inGroup = inGroup;
    input.groupBox = box;
    input.previous = previous;
    return input;
}

// Controls of a pretend dialog with a recorded client size, kept in a map of
// rectangles: the resize pass moves them as it moves real ones under the
// window system. It notes every read and every change in order.
class MapHost final : public ResizeHost {
public:
    MapHost(int32_t width, int32_t height) : initialWidth(width), initialHeight(height) {}

    // What the pass did to a control, in order.
    struct Operation {
        int32_t controlId;
        LayoutRect rect;
        // RESIZE_MOVE_AND_SIZE or RESIZE_SIZE_ONLY; -1 for an invalidation.
        int move;
        bool operator==(const Operation& other) const
        {
            return controlId == other.controlId && rect == other.rect && move == other.move;
        }
    };

    void Add(int32_t id, const LayoutRect& rect) { controls[id] = rect; }

    LayoutRect At(int32_t id) const { return controls.at(id); }

    bool ControlExists(int32_t controlId) const override { return controls.count(controlId) != 0; }

    bool ReadControlRect(int32_t controlId, LayoutRect& rect) const override
    {
        reads.push_back(controlId);
        const auto control = controls.find(controlId);
        if (control == controls.end()) {
            return false;
        }
        rect = control->second;
        return true;
    }

    // Sizing only keeps the control's place, as SWP_NOMOVE does.
    void MoveControl(int32_t controlId, const LayoutRect& rect, ResizeMove move) override
    {
        LayoutRect& control = controls.at(controlId);
        const LayoutRect placed =
            move == RESIZE_SIZE_ONLY
                ? MakeRect(control.left, control.top, control.left + rect.Width(), control.top + rect.Height())
                : rect;
        control = placed;
        operations.push_back({controlId, placed, move});
    }

    void InvalidateControl(int32_t controlId) override { operations.push_back({controlId, At(controlId), -1}); }

    bool Parse(const ResizeRule* rules) { return ParseResizeRules(rules, *this, entries); }

    bool Pass(int32_t cx, int32_t cy)
    {
        ResizeClientSizes sizes;
        sizes.clientWidth = cx;
        sizes.clientHeight = cy;
        sizes.initialClientWidth = initialWidth;
        sizes.initialClientHeight = initialHeight;
        return RunResizePass(entries, sizes, *this);
    }

    ResizeEntryArray entries;
    mutable std::vector<int32_t> reads;
    std::vector<Operation> operations;

private:
    int32_t initialWidth;
    int32_t initialHeight;
    std::map<int32_t, LayoutRect> controls;
};

void PrintTo(const MapHost::Operation& operation, std::ostream* out)
{
    *out << "{" << operation.controlId << ", ";
    PrintTo(operation.rect, out);
    *out << ", " << operation.move << "}";
}

bool Parse(const ResizeRule* rules, ResizeEntryArray& entries)
{
    const MapHost noControls(400, 300);
    return ParseResizeRules(rules, noControls, entries);
}

struct PlacementCase {
    const char* name;
    uint32_t flags;
    LayoutRect recorded;
    LayoutRect current;
    int32_t dx;
    int32_t dy;
    bool inGroup;
    LayoutRect box;
    LayoutRect expected;
};

const PlacementCase PLACEMENT_CASES[] = {
    {"centre x outside: client 101, width 20",
     RESIZE_CENTER_X,
     MakeRect(0, 10, 20, 30),
     MakeRect(5, 10, 25, 30),
     -299,
     0,
     false,
     {},
     MakeRect(40, 10, 60, 30)},
    {"centre y outside: client 50, height 21",
     RESIZE_CENTER_Y,
     MakeRect(0, 10, 20, 31),
     MakeRect(0, 10, 20, 31),
     0,
     -250,
     false,
     {},
     MakeRect(0, 14, 20, 35)},
    {"centre beats stretch and shift",
     RESIZE_CENTER_X | RESIZE_STRETCH_X | RESIZE_SHIFT_X | RESIZE_SHIFT_Y,
     MakeRect(0, 10, 20, 30),
     MakeRect(0, 10, 20, 30),
     -299,
     50,
     false,
     {},
     MakeRect(40, 60, 60, 80)},
    {"centre inside the stretched box", RESIZE_CENTER_X | RESIZE_CENTER_Y, MakeRect(40, 30, 61, 40),
     MakeRect(40, 30, 61, 40), 20, 11, true, MakeRect(10, 20, 110, 60), MakeRect(59, 40, 80, 50)},
    {"shift outside",
     RESIZE_SHIFT_X | RESIZE_SHIFT_Y,
     MakeRect(300, 200, 350, 220),
     MakeRect(300, 200, 350, 220),
     30,
     -10,
     false,
     {},
     MakeRect(330, 190, 380, 210)},
    {"stretch outside keeps the current low edges",
     RESIZE_STRETCH_X | RESIZE_STRETCH_Y,
     MakeRect(10, 20, 110, 120),
     MakeRect(12, 25, 90, 95),
     30,
     40,
     false,
     {},
     MakeRect(12, 25, 140, 160)},
    {"stretch with shift is shift outside",
     RESIZE_STRETCH_X | RESIZE_SHIFT_X,
     MakeRect(10, 20, 110, 120),
     MakeRect(10, 20, 110, 120),
     30,
     0,
     false,
     {},
     MakeRect(40, 20, 140, 120)},
    {"stretch with shift is stretch inside", RESIZE_STRETCH_X | RESIZE_SHIFT_X, MakeRect(60, 0, 110, 20),
     MakeRect(60, 0, 110, 20), 20, 0, true, MakeRect(10, 0, 110, 20), MakeRect(70, 0, 130, 20)},
    {"shift x inside: 10 + MulDiv(33, 120, 100)", RESIZE_SHIFT_X, MakeRect(43, 5, 63, 15), MakeRect(43, 5, 63, 15), 20,
     0, true, MakeRect(10, 0, 110, 20), MakeRect(50, 5, 70, 15)},
    {"shift y inside: 10 + MulDiv(33, 120, 100)", RESIZE_SHIFT_Y, MakeRect(0, 43, 20, 53), MakeRect(0, 43, 20, 53), 0,
     20, true, MakeRect(0, 10, 20, 110), MakeRect(0, 50, 20, 60)},
    {"invalidate alone places at the current rectangle",
     RESIZE_INVALIDATE,
     MakeRect(0, 0, 10, 10),
     MakeRect(3, 4, 13, 14),
     100,
     100,
     false,
     {},
     MakeRect(3, 4, 13, 14)},
};

} // namespace

TEST(PlaceEdges, PlacesByFlagsAxisAndGroup)
{
    for (const PlacementCase& c : PLACEMENT_CASES) {
        const ControlPlacement placement =
            PlaceEdges(Input(c.dx, c.dy, c.inGroup, c.box), Entry(7, c.flags, c.recorded), c.current);
        EXPECT_EQ(placement.rect, c.expected) << c.name;
        EXPECT_TRUE(placement.move) << c.name;
        EXPECT_EQ(placement.invalidate, (c.flags & RESIZE_INVALIDATE) != 0) << c.name;
    }
}

TEST(PlaceEdges, AtTheRecordedClientSizeEveryStretchAndShiftKeepsTheRecordedRect)
{
    const LayoutRect recorded = MakeRect(43, 17, 63, 39);
    for (uint32_t flags = 0; flags <= (RESIZE_STRETCH_X | RESIZE_STRETCH_Y | RESIZE_SHIFT_X | RESIZE_SHIFT_Y);
         ++flags) {
        const ResizeEntry entry = Entry(7, flags, recorded);
        EXPECT_EQ(PlaceEdges(Input(0, 0), entry, recorded).rect, recorded) << flags;
        EXPECT_EQ(PlaceEdges(Input(0, 0, true, MakeRect(10, 5, 110, 80)), entry, recorded).rect, recorded) << flags;
    }
}

TEST(PlaceEdges, EntryWithoutRuleFlagsIsNeverMoved)
{
    const ResizeEntry entry = Entry(7, RESIZE_OWN_GRIP | RESIZE_GROUP_LEAD | (2u << 16), MakeRect(0, 0, 10, 10));
    EXPECT_FALSE(PlaceEdges(Input(100, 100), entry, MakeRect(3, 3, 13, 13)).move);
}

TEST(PlaceEdges, StretchXInsideGroupCorrectsThePreviousMembersRightEdge)
{
    const ResizeEntry a = Entry(1, RESIZE_STRETCH_X, MakeRect(10, 0, 50, 20));
    const ResizeEntry b = Entry(2, RESIZE_STRETCH_X, MakeRect(60, 0, 110, 20));
    const LayoutRect box = MakeRect(10, 0, 110, 20);
    const ControlPlacement first = PlaceEdges(Input(20, 0, true, box), a, a.recorded);
    EXPECT_EQ(first.rect, MakeRect(10, 0, 58, 20));
    EXPECT_FALSE(first.correctPreviousRight);
    const ControlPlacement second = PlaceEdges(Input(20, 0, true, box, &a), b, b.recorded);
    EXPECT_EQ(second.rect, MakeRect(70, 0, 130, 20));
    EXPECT_TRUE(second.correctPreviousRight);
    EXPECT_EQ(second.previousRight, 60);
    EXPECT_FALSE(second.correctPreviousBottom);
}

TEST(PlaceEdges, StretchYInsideGroupCorrectsThePreviousMembersBottomEdge)
{
    const ResizeEntry a = Entry(1, RESIZE_STRETCH_Y, MakeRect(0, 10, 20, 50));
    const ResizeEntry b = Entry(2, RESIZE_STRETCH_Y, MakeRect(0, 60, 20, 110));
    const ControlPlacement second = PlaceEdges(Input(0, 20, true, MakeRect(0, 10, 20, 110), &a), b, b.recorded);
    EXPECT_EQ(second.rect, MakeRect(0, 70, 20, 130));
    EXPECT_TRUE(second.correctPreviousBottom);
    EXPECT_EQ(second.previousBottom, 60);
    EXPECT_FALSE(second.correctPreviousRight);
}

TEST(ParseResizeRules, MainWindowTableGivesFiveEntriesInTableOrder)
{
    ResizeEntryArray entries;
    ASSERT_TRUE(Parse(MainDialogResizeRules, entries));
    const int32_t ids[] = {ID_TILESET_LIST, ID_SAVE_BUTTON, ID_ABOUT_BUTTON, ID_SLOT_NAME_EDIT, ID_SLOT_LIST};
    const uint32_t flags[] = {0x2, 0x4, 0xC, 0x1, 0x3};
    ASSERT_EQ(entries.Count(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(entries.Data()[i].controlId, ids[i]);
        EXPECT_EQ(entries.Data()[i].flags, flags[i]);
    }
}

TEST(ParseResizeRules, MarksEachGroupsFirstMemberWithTheMemberCount)
{
    const ResizeRule rules[] = {{1, RESIZE_SHIFT_X},
                                {-1, RESIZE_GROUP_BEGIN},
                                {2, RESIZE_STRETCH_X | 0x00AB0000},
                                {3, RESIZE_STRETCH_X},
                                {4, RESIZE_SHIFT_X},
                                {-1, RESIZE_GROUP_END},
                                {-1, RESIZE_GROUP_BEGIN},
                                {5, RESIZE_SHIFT_Y},
                                {-1, RESIZE_GROUP_END},
                                {6, RESIZE_STRETCH_Y},
                                {-1, 0},
                                {9, RESIZE_SHIFT_Y}};
    MapHost host(400, 300);
    for (int32_t id : {1, 2, 3, 4, 5, 6, 9}) {
        host.Add(id, MakeRect(id, id * 2, id * 3, id * 4));
    }
    ASSERT_TRUE(host.Parse(rules));
    EXPECT_EQ(host.reads, (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    const ResizeEntryArray& entries = host.entries;
    ASSERT_EQ(entries.Count(), 6);
    const uint32_t expected[] = {RESIZE_SHIFT_X, RESIZE_STRETCH_X | RESIZE_GROUP_LEAD | (3u << 16), RESIZE_STRETCH_X,
                                 RESIZE_SHIFT_X, RESIZE_SHIFT_Y | RESIZE_GROUP_LEAD | (1u << 16),   RESIZE_STRETCH_Y};
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(entries.Data()[i].flags, expected[i]) << i;
    }
    EXPECT_EQ(entries.Data()[3].recorded, MakeRect(4, 8, 12, 16));
}

TEST(ParseResizeRules, SkipsMarkerRowsWithOtherFlags)
{
    const ResizeRule rules[] = {{1, RESIZE_SHIFT_X},
                                {-1, 0x0800},
                                {-1, RESIZE_GROUP_BEGIN},
                                {-1, 0x3000},
                                {2, RESIZE_STRETCH_X},
                                {-1, 0x0001},
                                {3, RESIZE_STRETCH_X},
                                {-1, RESIZE_GROUP_END},
                                {-1, 0x4000},
                                {4, RESIZE_STRETCH_Y},
                                {-1, 0}};
    ResizeEntryArray entries;
    ASSERT_TRUE(Parse(rules, entries));
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
    const ResizeRule nestedGroup[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_SHIFT_X},    {-1, RESIZE_GROUP_BEGIN},
                                      {2, RESIZE_SHIFT_X},      {-1, RESIZE_GROUP_END}, {-1, 0}};
    const ResizeRule unclosedGroup[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_SHIFT_X}, {-1, 0}};
    for (const ResizeRule* table : {endWithoutGroup, emptyGroup, nestedGroup, unclosedGroup}) {
        ResizeEntryArray entries;
        EXPECT_FALSE(Parse(table, entries));
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
        const bool parsed = Parse(rules.data(), entries);
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
        ASSERT_TRUE(entries.Append(Entry(i, 0, LayoutRect{})));
        EXPECT_EQ(entries.Capacity(), capacities[i]);
    }
    EXPECT_EQ(entries.Data()[8].controlId, 8);
    entries.Release();
    EXPECT_EQ(entries.Count(), 0);
    EXPECT_EQ(entries.Capacity(), 0);
}

TEST(RunResizePass, TwoStretchedMembersKeepTheirRecordedGap)
{
    MapHost host(400, 300);
    host.Add(1, MakeRect(10, 0, 50, 20));
    host.Add(2, MakeRect(60, 0, 110, 20));
    const ResizeRule rules[] = {
        {-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_STRETCH_X}, {2, RESIZE_STRETCH_X}, {-1, RESIZE_GROUP_END}, {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    ASSERT_TRUE(host.Pass(420, 300));
    EXPECT_EQ(host.At(1), MakeRect(10, 0, 60, 20));
    EXPECT_EQ(host.At(2), MakeRect(70, 0, 130, 20));
}

TEST(RunResizePass, MissingGroupMemberLeavesTheBoxAndTheGapChainAlone)
{
    MapHost host(400, 300);
    host.Add(1, MakeRect(10, 0, 50, 20));
    host.Add(2, MakeRect(60, 0, 110, 20));
    const ResizeRule rules[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_STRETCH_X},  {9, RESIZE_STRETCH_X},
                                {2, RESIZE_STRETCH_X},    {-1, RESIZE_GROUP_END}, {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    ASSERT_EQ(host.entries.Count(), 3);
    ASSERT_TRUE(host.Pass(420, 300));
    EXPECT_EQ(host.At(1), MakeRect(10, 0, 60, 20));
    EXPECT_EQ(host.At(2), MakeRect(70, 0, 130, 20));
}

TEST(RunResizePass, RepeatedPassesDoNotAccumulateRounding)
{
    MapHost host(400, 300);
    host.Add(1, MakeRect(7, 3, 40, 19));
    host.Add(2, MakeRect(45, 3, 91, 19));
    host.Add(3, MakeRect(7, 23, 91, 61));
    const ResizeRule rules[] = {{-1, RESIZE_GROUP_BEGIN}, {1, RESIZE_STRETCH_X},  {2, RESIZE_STRETCH_X},
                                {3, RESIZE_STRETCH_Y},    {-1, RESIZE_GROUP_END}, {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    for (int32_t step = 1; step <= 40; ++step) {
        ASSERT_TRUE(host.Pass(400 + step * 7, 300 + step * 3));
    }
    ASSERT_TRUE(host.Pass(400, 300));
    EXPECT_EQ(host.At(1), MakeRect(7, 3, 40, 19));
    EXPECT_EQ(host.At(2), MakeRect(45, 3, 91, 19));
    EXPECT_EQ(host.At(3), MakeRect(7, 23, 91, 61));
}

TEST(RunResizePass, RejectsALeadWhoseGroupDoesNotFit)
{
    for (uint32_t members : {0u, 3u}) {
        MapHost host(400, 300);
        for (int32_t id : {1, 2, 3}) {
            host.Add(id, MakeRect(0, 0, 10, 10));
        }
        host.entries.Append(Entry(1, RESIZE_SHIFT_X, LayoutRect{}));
        host.entries.Append(Entry(2, RESIZE_SHIFT_X | RESIZE_GROUP_LEAD | (members << 16), LayoutRect{}));
        host.entries.Append(Entry(3, RESIZE_SHIFT_X, LayoutRect{}));
        EXPECT_FALSE(host.Pass(400, 300)) << members;
        EXPECT_EQ(host.operations.size(), 1u);
    }
}

TEST(RunResizePass, CorrectsThePreviousMemberOnEachAxisThenInvalidatesThenMoves)
{
    MapHost host(400, 300);
    host.Add(1, MakeRect(10, 10, 50, 50));
    host.Add(2, MakeRect(60, 60, 110, 110));
    const ResizeRule rules[] = {{-1, RESIZE_GROUP_BEGIN},
                                {1, RESIZE_STRETCH_X | RESIZE_STRETCH_Y},
                                {2, RESIZE_STRETCH_X | RESIZE_STRETCH_Y | RESIZE_INVALIDATE},
                                {-1, RESIZE_GROUP_END},
                                {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    ASSERT_TRUE(host.Pass(420, 320));
    // The bottom correction reads the member again, so it keeps the right edge
    // that the first correction gave.
    const std::vector<MapHost::Operation> expected = {{1, MakeRect(10, 10, 58, 58), RESIZE_MOVE_AND_SIZE},
                                                      {1, MakeRect(10, 10, 60, 58), RESIZE_SIZE_ONLY},
                                                      {1, MakeRect(10, 10, 60, 60), RESIZE_SIZE_ONLY},
                                                      {2, MakeRect(60, 60, 110, 110), -1},
                                                      {2, MakeRect(70, 70, 130, 130), RESIZE_MOVE_AND_SIZE}};
    EXPECT_EQ(host.operations, expected);
}

TEST(RunResizePass, SkipsAMissingControlOutsideAGroup)
{
    MapHost host(400, 300);
    host.Add(1, MakeRect(10, 10, 50, 50));
    const ResizeRule rules[] = {{9, RESIZE_SHIFT_X | RESIZE_INVALIDATE}, {1, RESIZE_SHIFT_X}, {-1, 0}};
    ASSERT_TRUE(host.Parse(rules));
    ASSERT_TRUE(host.Pass(430, 300));
    const std::vector<MapHost::Operation> expected = {{1, MakeRect(40, 10, 80, 50), RESIZE_MOVE_AND_SIZE}};
    EXPECT_EQ(host.operations, expected);
}

namespace {

// The main window's controls at 1.5 x 1.625 pixels per dialog unit, client
// 498 x 317, with the grip's entry first as Initialize makes it.
void AddMainWindowControls(MapHost& host)
{
    host.Add(ID_ABOUT_BUTTON, MakeRect(412, 282, 487, 305));
    host.Add(ID_TILESET_LIST, MakeRect(9, 29, 166, 310));
    host.Add(ID_SLOT_LIST, MakeRect(171, 87, 396, 312));
    host.Add(ID_SAVE_BUTTON, MakeRect(412, 24, 487, 47));
    host.Add(ID_SLOT_NAME_EDIT, MakeRect(171, 58, 396, 81));
    host.Add(ID_AMBIENT_EDIT, MakeRect(333, 29, 393, 52));
    host.Add(ID_SIZE_GRIP, MakeRect(480, 299, 498, 317));
}

class MainTableTest : public ::testing::Test {
protected:
    MainTableTest() : host(498, 317), before(498, 317)
    {
        AddMainWindowControls(host);
        AddMainWindowControls(before);
        host.entries.Append(Entry(ID_SIZE_GRIP, 0x401C, host.At(ID_SIZE_GRIP)));
        parsed = host.Parse(MainDialogResizeRules);
    }

    LayoutRect Before(int32_t id) { return before.At(id); }

    MapHost host;
    MapHost before;
    bool parsed = false;
};

} // namespace

TEST_F(MainTableTest, AtTheRecordedSizeEveryControlStays)
{
    ASSERT_TRUE(parsed);
    ASSERT_TRUE(host.Pass(498, 317));
    for (int32_t id : {ID_ABOUT_BUTTON, ID_TILESET_LIST, ID_SLOT_LIST, ID_SAVE_BUTTON, ID_SLOT_NAME_EDIT,
                       ID_AMBIENT_EDIT, ID_SIZE_GRIP}) {
        EXPECT_EQ(host.At(id), Before(id)) << id;
    }
}

TEST_F(MainTableTest, HundredPixelsWiderStretchesTheSlotControlsAndShiftsTheButtons)
{
    ASSERT_TRUE(parsed);
    ASSERT_TRUE(host.Pass(598, 317));
    EXPECT_EQ(host.At(ID_SLOT_NAME_EDIT), Grown(Before(ID_SLOT_NAME_EDIT), 100, 0));
    EXPECT_EQ(host.At(ID_SLOT_LIST), Grown(Before(ID_SLOT_LIST), 100, 0));
    EXPECT_EQ(host.At(ID_SAVE_BUTTON), Moved(Before(ID_SAVE_BUTTON), 100, 0));
    EXPECT_EQ(host.At(ID_ABOUT_BUTTON), Moved(Before(ID_ABOUT_BUTTON), 100, 0));
    EXPECT_EQ(host.At(ID_SIZE_GRIP), Moved(Before(ID_SIZE_GRIP), 100, 0));
    EXPECT_EQ(host.At(ID_TILESET_LIST), Before(ID_TILESET_LIST));
    EXPECT_EQ(host.At(ID_AMBIENT_EDIT), Before(ID_AMBIENT_EDIT));
}

TEST_F(MainTableTest, FiftyPixelsTallerStretchesTheListsAndMovesTheCornerControls)
{
    ASSERT_TRUE(parsed);
    ASSERT_TRUE(host.Pass(498, 367));
    EXPECT_EQ(host.At(ID_TILESET_LIST), Grown(Before(ID_TILESET_LIST), 0, 50));
    EXPECT_EQ(host.At(ID_SLOT_LIST), Grown(Before(ID_SLOT_LIST), 0, 50));
    EXPECT_EQ(host.At(ID_ABOUT_BUTTON), Moved(Before(ID_ABOUT_BUTTON), 0, 50));
    EXPECT_EQ(host.At(ID_SIZE_GRIP), Moved(Before(ID_SIZE_GRIP), 0, 50));
    EXPECT_EQ(host.At(ID_SAVE_BUTTON), Before(ID_SAVE_BUTTON));
    EXPECT_EQ(host.At(ID_SLOT_NAME_EDIT), Before(ID_SLOT_NAME_EDIT));
    EXPECT_EQ(host.At(ID_AMBIENT_EDIT), Before(ID_AMBIENT_EDIT));
}
