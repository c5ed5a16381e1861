// The resize engine on real resizable dialogs under the window system. The
// expectations are taken from the controls' own recorded rectangles and the
// measured client size, so they hold whatever size the system gives the grip.
#include "ui/DialogResizer.h"

#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "tests/support/LayoutRects.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowRects.h"
#include "tests/ui/ResizeTestDialog.h"
#include "tests/ui/ScopedTopWindow.h"
#include "tests/ui/TestDialogIds.h"
#include "tests/ui/WindowPosLog.h"
#include "ui/MainDialogResizeRules.h"
#include "ui/ResizeLayout.h"

#include <vector>

namespace {

constexpr int MAIN_CONTROLS[] = {ID_ABOUT_BUTTON,   ID_TILESET_LIST, ID_SLOT_LIST, ID_SAVE_BUTTON,
                                 ID_SLOT_NAME_EDIT, ID_AMBIENT_EDIT, ID_SIZE_GRIP};

struct ChildSearch {
    int id;
    int found;
};

BOOL CALLBACK CountMatchingChild(HWND child, LPARAM context)
{
    ChildSearch* const search = reinterpret_cast<ChildSearch*>(context);
    search->found += GetDlgCtrlID(child) == search->id ? 1 : 0;
    return TRUE;
}

int CountChildren(HWND parent, int controlId)
{
    ChildSearch search{controlId, 0};
    EnumChildWindows(parent, CountMatchingChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int FirstChange(const WindowPosLog& log, bool (*matches)(const WindowPosLog::Change&, const LayoutRect&),
                const LayoutRect& recorded)
{
    for (size_t i = 0; i < log.changes.size(); ++i) {
        if (matches(log.changes[i], recorded)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Hides(const WindowPosLog::Change& change, const LayoutRect&)
{
    return (change.flags & SWP_HIDEWINDOW) != 0;
}

bool Moves(const WindowPosLog::Change& change, const LayoutRect& recorded)
{
    return change.rect != recorded;
}

// The main window's layout, opened and shown as the shell shows it.
class MainLayoutTest : public ::testing::Test {
protected:
    MainLayoutTest() : dialog(MainDialogResizeRules) {}

    void SetUp() override
    {
        window = dialog.Create(ID_MAIN_DIALOG);
        ASSERT_NE(window, nullptr);
        openingOuter = OuterRectOf(window);
        ShowWindow(window, SW_SHOWNORMAL);
        PumpMessages();
        for (int id : MAIN_CONTROLS) {
            opening.push_back(ChildRect(window, id));
        }
    }

    LayoutRect Opening(int id) const
    {
        for (size_t i = 0; i < opening.size(); ++i) {
            if (MAIN_CONTROLS[i] == id) {
                return opening[i];
            }
        }
        return LayoutRect{};
    }

    int ClientDx() const { return ClientRectOf(window).right - dialog.InitialClientWidth(); }
    int ClientDy() const { return ClientRectOf(window).bottom - dialog.InitialClientHeight(); }

    ResizeTestDialog dialog;
    HWND window = nullptr;
    LayoutRect openingOuter;
    std::vector<LayoutRect> opening;
};

} // namespace

TEST_F(MainLayoutTest, GripIsCreatedInTheBottomRightCornerAsTheFirstEntry)
{
    const HWND grip = GetDlgItem(window, ID_SIZE_GRIP);
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(dialog.GripCreated());
    char className[32] = {};
    GetClassNameA(grip, className, sizeof className);
    EXPECT_EQ(lstrcmpiA(className, "ScrollBar"), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(grip, GWL_STYLE)) & 0x5400001Cu, 0x5400001Cu);
    const LayoutRect gripRect = ChildRect(window, ID_SIZE_GRIP);
    const LayoutRect client = ClientRectOf(window);
    EXPECT_GT(gripRect.Width(), 0);
    EXPECT_EQ(gripRect.right, client.right);
    EXPECT_EQ(gripRect.bottom, client.bottom);
    ASSERT_EQ(dialog.Entries().Count(), 6);
    EXPECT_EQ(dialog.EntryAt(0).controlId, ID_SIZE_GRIP);
    EXPECT_EQ(dialog.EntryAt(0).flags, 0x401Cu);
    EXPECT_EQ(dialog.EntryAt(0).recorded, gripRect);
}

TEST_F(MainLayoutTest, EntriesRecordTheRuleTableWithEachControlsRectangle)
{
    const int ids[] = {ID_TILESET_LIST, ID_SAVE_BUTTON, ID_ABOUT_BUTTON, ID_SLOT_NAME_EDIT, ID_SLOT_LIST};
    const uint32_t flags[] = {0x2, 0x4, 0xC, 0x1, 0x3};
    ASSERT_EQ(dialog.Entries().Count(), 6);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dialog.EntryAt(i + 1).controlId, ids[i]);
        EXPECT_EQ(dialog.EntryAt(i + 1).flags, flags[i]);
        EXPECT_EQ(dialog.EntryAt(i + 1).recorded, Opening(ids[i])) << ids[i];
    }
    EXPECT_EQ(dialog.InitialClientWidth(), ClientRectOf(window).right);
    EXPECT_EQ(dialog.InitialClientHeight(), ClientRectOf(window).bottom);
}

TEST_F(MainLayoutTest, InitializeForcesClipChildrenAndTheModalFrameExtendedStyle)
{
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
}

TEST_F(MainLayoutTest, MinimumTrackingSizeIsTheOpeningOuterSize)
{
    EXPECT_EQ(dialog.MinTrackWidth(), openingOuter.Width());
    EXPECT_EQ(dialog.MinTrackHeight(), openingOuter.Height());
    MINMAXINFO info{};
    info.ptMinTrackSize = {1, 2};
    info.ptMaxTrackSize = {5000, 4000};
    EXPECT_EQ(SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, openingOuter.Width());
    EXPECT_EQ(info.ptMinTrackSize.y, openingOuter.Height());
    EXPECT_EQ(info.ptMaxTrackSize.x, 5000);
    EXPECT_EQ(info.ptMaxTrackSize.y, 4000);
}

TEST_F(MainLayoutTest, GripFollowsTheCornerWhenTheWindowGrows)
{
    GrowClientArea(window, 120, 70);
    const int dx = ClientDx();
    const int dy = ClientDy();
    ASSERT_GT(dx, 0);
    ASSERT_GT(dy, 0);
    const LayoutRect gripRect = ChildRect(window, ID_SIZE_GRIP);
    EXPECT_EQ(gripRect, Moved(dialog.EntryAt(0).recorded, dx, dy));
    EXPECT_EQ(gripRect.right, ClientRectOf(window).right);
    EXPECT_EQ(gripRect.bottom, ClientRectOf(window).bottom);
}

TEST_F(MainLayoutTest, PassSwitchesRedrawOffAndRepaintsAfterSwitchingItBackOn)
{
    const LayoutRect client = ClientRectOf(window);
    dialog.noteRedraw = true;
    dialog.HandleSize(SIZE_RESTORED, client.right, client.bottom);
    dialog.noteRedraw = false;
    ASSERT_GE(dialog.redrawNotes.size(), 3u);
    EXPECT_EQ(dialog.redrawNotes[0], FALSE);
    EXPECT_EQ(dialog.redrawNotes[1], TRUE);
    EXPECT_EQ(dialog.redrawNotes[2], -1);
}

TEST_F(MainLayoutTest, MaximisingHidesTheGripBeforeThePassMovesIt)
{
    const HWND grip = GetDlgItem(window, ID_SIZE_GRIP);
    const LayoutRect recorded = dialog.EntryAt(0).recorded;
    WindowPosLog log(grip);
    ShowWindow(window, SW_MAXIMIZE);
    PumpMessages();
    if (!IsZoomed(window)) {
        GTEST_SKIP() << "the window system did not maximise the window";
    }
    const int hidden = FirstChange(log, Hides, recorded);
    const int moved = FirstChange(log, Moves, recorded);
    ASSERT_NE(hidden, -1);
    ASSERT_NE(moved, -1);
    EXPECT_LT(hidden, moved);
    EXPECT_FALSE(IsWindowVisible(grip));
    EXPECT_EQ(ChildRect(window, ID_SIZE_GRIP), Moved(recorded, ClientDx(), ClientDy()));
    EXPECT_EQ(ChildRect(window, ID_SIZE_GRIP).right, ClientRectOf(window).right);
}

TEST_F(MainLayoutTest, RestoringShowsTheGripAndPlacesForTheRestoredSize)
{
    ShowWindow(window, SW_MAXIMIZE);
    PumpMessages();
    if (!IsZoomed(window)) {
        GTEST_SKIP() << "the window system did not maximise the window";
    }
    ShowWindow(window, SW_RESTORE);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, ID_SIZE_GRIP)));
    for (int id : MAIN_CONTROLS) {
        EXPECT_EQ(ChildRect(window, id), Opening(id)) << id;
    }
}

TEST_F(MainLayoutTest, MinimisingRunsNoPass)
{
    WindowPosLog gripLog(GetDlgItem(window, ID_SIZE_GRIP));
    WindowPosLog listLog(GetDlgItem(window, ID_SLOT_LIST));
    ShowWindow(window, SW_MINIMIZE);
    PumpMessages();
    if (!IsIconic(window)) {
        GTEST_SKIP() << "the window system did not minimise the window";
    }
    EXPECT_TRUE(gripLog.changes.empty());
    EXPECT_TRUE(listLog.changes.empty());
    ShowWindow(window, SW_RESTORE);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, ID_SIZE_GRIP)));
    EXPECT_EQ(ChildRect(window, ID_SIZE_GRIP), Opening(ID_SIZE_GRIP));
    EXPECT_EQ(ChildRect(window, ID_SLOT_LIST), Opening(ID_SLOT_LIST));
}

TEST_F(MainLayoutTest, SecondInitializeReplacesTheGripItCreated)
{
    const HWND first = GetDlgItem(window, ID_SIZE_GRIP);
    dialog.Initialize(true, true, WS_CLIPCHILDREN);
    const HWND second = GetDlgItem(window, ID_SIZE_GRIP);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(CountChildren(window, ID_SIZE_GRIP), 1);
    EXPECT_EQ(dialog.Entries().Count(), 6);
    EXPECT_EQ(dialog.EntryAt(0).recorded, Opening(ID_SIZE_GRIP));
}

TEST(DialogResizerOptions, WithoutGripOrMinimumTheControlsStillFollow)
{
    ResizeTestDialog dialog(MainDialogResizeRules);
    dialog.createGrip = false;
    dialog.useMinTrackSize = false;
    const HWND window = dialog.Create(ID_MAIN_DIALOG);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetDlgItem(window, ID_SIZE_GRIP), nullptr);
    EXPECT_FALSE(dialog.GripCreated());
    EXPECT_EQ(dialog.MinTrackWidth(), -1);
    ASSERT_EQ(dialog.Entries().Count(), 5);
    MINMAXINFO info{};
    info.ptMinTrackSize = {1, 2};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1);
    EXPECT_EQ(info.ptMinTrackSize.y, 2);
    const LayoutRect save = ChildRect(window, ID_SAVE_BUTTON);
    GrowClientArea(window, 30, 0);
    EXPECT_EQ(ChildRect(window, ID_SAVE_BUTTON),
              Moved(save, ClientRectOf(window).right - dialog.InitialClientWidth(), 0));
}

TEST(DialogResizerOptions, SmallIconSetBeforeInitializeStays)
{
    ResizeTestDialog dialog(MainDialogResizeRules);
    dialog.smallIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    ASSERT_NE(dialog.smallIcon, nullptr);
    const HWND window = dialog.Create(ID_MAIN_DIALOG);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), dialog.smallIcon);
}

namespace {

// Two edits side by side with a missing member between them, and two lists
// one above the other.
const ResizeRule GROUP_RULES[] = {
    {-1, RESIZE_GROUP_BEGIN},
    {ID_TEST_LEFT_EDIT, RESIZE_STRETCH_X},
    {ID_TEST_MISSING, RESIZE_STRETCH_X},
    {ID_TEST_RIGHT_EDIT, RESIZE_STRETCH_X},
    {-1, RESIZE_GROUP_END},
    {-1, RESIZE_GROUP_BEGIN},
    {ID_TEST_TOP_LIST, RESIZE_STRETCH_Y},
    {ID_TEST_BOTTOM_LIST, RESIZE_STRETCH_Y},
    {-1, RESIZE_GROUP_END},
    {-1, 0},
};

} // namespace

TEST(DialogResizerGroups, MembersScaleWithTheirBoxAndKeepTheRecordedGap)
{
    ResizeTestDialog dialog(GROUP_RULES);
    const HWND window = dialog.Create(ID_TEST_GROUP_DIALOG);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(dialog.Entries().Count(), 6);
    EXPECT_EQ(dialog.EntryAt(1).flags, RESIZE_STRETCH_X | RESIZE_GROUP_LEAD | (3u << 16));
    EXPECT_EQ(dialog.EntryAt(4).flags, RESIZE_STRETCH_Y | RESIZE_GROUP_LEAD | (2u << 16));
    const LayoutRect left = ChildRect(window, ID_TEST_LEFT_EDIT);
    const LayoutRect right = ChildRect(window, ID_TEST_RIGHT_EDIT);
    const LayoutRect top = ChildRect(window, ID_TEST_TOP_LIST);
    const LayoutRect bottom = ChildRect(window, ID_TEST_BOTTOM_LIST);

    GrowClientArea(window, 47, 33);
    const int dx = ClientRectOf(window).right - dialog.InitialClientWidth();
    const int dy = ClientRectOf(window).bottom - dialog.InitialClientHeight();
    ASSERT_GT(dx, 0);
    ASSERT_GT(dy, 0);

    // The missing member does not widen the box: it spans the two edits.
    const int gl = left.left;
    const int gw = right.right - left.left;
    const int rightLeft = gl + MulDiv(right.left - gl, gw + dx, gw);
    EXPECT_EQ(ChildRect(window, ID_TEST_RIGHT_EDIT),
              MakeRect(rightLeft, right.top, gl + MulDiv(right.right - gl, gw + dx, gw), right.bottom));
    EXPECT_EQ(ChildRect(window, ID_TEST_LEFT_EDIT),
              MakeRect(left.left, left.top, rightLeft - (right.left - left.right), left.bottom));

    const int gt = top.top;
    const int gh = bottom.bottom - top.top;
    const int bottomTop = gt + MulDiv(bottom.top - gt, gh + dy, gh);
    EXPECT_EQ(ChildRect(window, ID_TEST_BOTTOM_LIST),
              MakeRect(bottom.left, bottomTop, bottom.right, gt + MulDiv(bottom.bottom - gt, gh + dy, gh)));
    EXPECT_EQ(ChildRect(window, ID_TEST_TOP_LIST),
              MakeRect(top.left, top.top, top.right, bottomTop - (bottom.top - top.bottom)));
}

namespace {

const ResizeRule CHILD_RULES[] = {
    {ID_TEST_LEFT_EDIT, RESIZE_STRETCH_X},
    {ID_TEST_CORNER_BUTTON, RESIZE_SHIFT_X | RESIZE_SHIFT_Y},
    {-1, 0},
};

}

TEST(DialogResizerChildHost, MinimumIsTheClientSizeAndClampsEveryPass)
{
    const ScopedTopWindow parent(MakeRect(50, 50, 750, 550), WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
    ResizeTestDialog dialog(CHILD_RULES);
    const HWND window = dialog.Create(ID_TEST_CHILD_DIALOG, parent.Get());
    ASSERT_NE(window, nullptr);
    const LayoutRect client = ClientRectOf(window);
    EXPECT_EQ(dialog.MinTrackWidth(), client.Width());
    EXPECT_EQ(dialog.MinTrackHeight(), client.Height());
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    const LayoutRect edit = ChildRect(window, ID_TEST_LEFT_EDIT);
    const LayoutRect button = ChildRect(window, ID_TEST_CORNER_BUTTON);

    SetWindowPos(window, nullptr, 0, 0, client.Width() - 40, client.Height() - 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    ASSERT_EQ(ClientRectOf(window).Width(), client.Width() - 40);
    EXPECT_EQ(ChildRect(window, ID_TEST_LEFT_EDIT), edit);
    EXPECT_EQ(ChildRect(window, ID_TEST_CORNER_BUTTON), button);

    SetWindowPos(window, nullptr, 0, 0, client.Width() + 40, client.Height() + 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    EXPECT_EQ(ChildRect(window, ID_TEST_LEFT_EDIT), Grown(edit, 40, 0));
    EXPECT_EQ(ChildRect(window, ID_TEST_CORNER_BUTTON), Moved(button, 40, 30));
}

namespace {

constexpr DWORD EXIT_BOUNDS_CHECK = 42;
constexpr DWORD EXIT_OTHERWISE = 43;

// Ends the process at once, telling by its exit code whether the exception
// was the non-continuable bounds check with no arguments.
LONG CALLBACK ExitOnBoundsExceeded(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* const record = pointers->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ARRAY_BOUNDS_EXCEEDED) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const bool boundsCheck = (record->ExceptionFlags & EXCEPTION_NONCONTINUABLE) != 0 && record->NumberParameters == 0;
    ExitProcess(boundsCheck ? EXIT_BOUNDS_CHECK : EXIT_OTHERWISE);
}

void OpenWithRules(const ResizeRule* rules)
{
    AddVectoredExceptionHandler(1, ExitOnBoundsExceeded);
    ResizeTestDialog dialog(rules);
    dialog.Create(ID_MAIN_DIALOG);
}

const ResizeRule END_WITHOUT_GROUP[] = {{ID_SLOT_LIST, RESIZE_STRETCH_X}, {-1, RESIZE_GROUP_END}, {-1, 0}};
const ResizeRule EMPTY_GROUP[] = {{ID_SLOT_LIST, RESIZE_STRETCH_X},
                                  {-1, RESIZE_GROUP_BEGIN},
                                  {-1, RESIZE_GROUP_END},
                                  {-1, 0}};

} // namespace

TEST(DialogResizerDeathTest, GroupEndWithoutOpenGroupRaisesNonContinuableBoundsExceeded)
{
    EXPECT_EXIT(OpenWithRules(END_WITHOUT_GROUP), ::testing::ExitedWithCode(EXIT_BOUNDS_CHECK), "");
}

TEST(DialogResizerDeathTest, EmptyGroupRaisesNonContinuableBoundsExceeded)
{
    EXPECT_EXIT(OpenWithRules(EMPTY_GROUP), ::testing::ExitedWithCode(EXIT_BOUNDS_CHECK), "");
}

TEST(LayoutMulDivOnWindows, MatchesThePlatformMulDiv)
{
    int mismatches = 0;
    for (int number = -1500; number <= 1500; number += 7) {
        for (int numerator = -900; numerator <= 2400; numerator += 13) {
            for (int denominator : {-7, -2, 0, 1, 2, 3, 99, 100, 101, 640, 1024}) {
                if (LayoutMulDiv(number, numerator, denominator) != MulDiv(number, numerator, denominator)) {
                    ADD_FAILURE() << number << " * " << numerator << " / " << denominator;
                    if (++mismatches == 10) {
                        return;
                    }
                }
            }
        }
    }
}
