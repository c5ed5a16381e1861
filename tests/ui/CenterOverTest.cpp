// Window centring on real windows: which area and which target it picks.
#include "ui/CenterOver.h"

#include <gtest/gtest.h>

#include "tests/support/LayoutRects.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowRects.h"
#include "tests/ui/ScopedTopWindow.h"

namespace {

constexpr DWORD POPUP = WS_POPUP | WS_CAPTION;

}

TEST(CenterOver, UnownedTopLevelWindowGoesToTheMiddleOfTheWorkArea)
{
    const ScopedTopWindow window(MakeRect(3, 4, 304, 205), POPUP);
    CenterOver(window.Get(), nullptr);
    EXPECT_EQ(OuterRectOf(window.Get()), CentredOn(WorkArea(), 301, 201));
}

TEST(CenterOver, CentresOnAVisibleReferencesOuterRectangle)
{
    const ScopedTopWindow reference(MakeRect(200, 150, 701, 552), POPUP | WS_VISIBLE);
    const ScopedTopWindow window(MakeRect(0, 0, 201, 101), POPUP);
    CenterOver(window.Get(), reference.Get());
    EXPECT_EQ(OuterRectOf(window.Get()), CentredOn(OuterRectOf(reference.Get()), 201, 101));
}

TEST(CenterOver, WithoutReferenceAnOwnedWindowUsesItsOwner)
{
    const ScopedTopWindow owner(MakeRect(100, 120, 600, 520), POPUP | WS_VISIBLE);
    const ScopedTopWindow window(MakeRect(0, 0, 200, 100), POPUP, owner.Get());
    CenterOver(window.Get(), nullptr);
    EXPECT_EQ(OuterRectOf(window.Get()), CentredOn(OuterRectOf(owner.Get()), 200, 100));
}

TEST(CenterOver, HiddenReferenceIsIgnored)
{
    const ScopedTopWindow reference(MakeRect(10, 10, 300, 300), POPUP);
    const ScopedTopWindow window(MakeRect(0, 0, 200, 100), POPUP);
    CenterOver(window.Get(), reference.Get());
    EXPECT_EQ(OuterRectOf(window.Get()), CentredOn(WorkArea(), 200, 100));
}

TEST(CenterOver, MinimisedReferenceIsIgnored)
{
    const ScopedTopWindow reference(MakeRect(10, 10, 300, 300), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(reference.Get(), SW_MINIMIZE);
    PumpMessages();
    if (!IsIconic(reference.Get())) {
        GTEST_SKIP() << "the window system did not minimise the reference";
    }
    const ScopedTopWindow window(MakeRect(0, 0, 200, 100), POPUP);
    CenterOver(window.Get(), reference.Get());
    EXPECT_EQ(OuterRectOf(window.Get()), CentredOn(WorkArea(), 200, 100));
}

TEST(CenterOver, ChildWithoutReferenceIsCentredInItsParentsClientArea)
{
    const ScopedTopWindow parent(MakeRect(100, 100, 700, 500), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 101, 51, parent.Get(), nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    CenterOver(child, nullptr);
    const LayoutRect client = ClientRectOf(parent.Get());
    RECT placed{};
    GetWindowRect(child, &placed);
    MapWindowPoints(HWND_DESKTOP, parent.Get(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(MakeRect(placed.left, placed.top, placed.right, placed.bottom), CentredOn(client, 101, 51));
}
