// The About box: its template and icon as built into the program, and the
// real modal box driven from a timer inside its modal loop.
#include "ui/AboutDialog.h"

#include <gtest/gtest.h>

#include "app/AppModule.h"
#include "res/ResourceIds.h"
#include "tests/support/LayoutRects.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ResourceBytes.h"
#include "tests/support/TemplateReader.h"
#include "tests/support/WindowRects.h"
#include "tests/ui/ScopedTopWindow.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const unsigned char* LoadTemplateBytes(LPCSTR type, int id)
{
    return ResourceBytes(appModule.instance, type, id);
}

// A control as the test expects it.
struct ExpectedItem {
    std::wstring className;
    int id;
    std::wstring text;
    DWORD style;
    std::vector<short> geometry;
};

std::vector<short> ReadGeometry(TemplateReader& reader)
{
    std::vector<short> geometry;
    for (int i = 0; i < 4; ++i) {
        geometry.push_back(static_cast<short>(reader.Word()));
    }
    return geometry;
}

std::vector<short> GeometryOf(const TemplateItem& item)
{
    return {static_cast<short>(item.x), static_cast<short>(item.y), static_cast<short>(item.cx),
            static_cast<short>(item.cy)};
}

} // namespace

TEST(AboutTemplate, HoldsTheBoxWithItsFourControlsInOrder)
{
    const unsigned char* const bytes = LoadTemplateBytes(MAKEINTRESOURCEA(5), ID_ABOUT_DIALOG);
    ASSERT_NE(bytes, nullptr) << "no English (United States) template " << ID_ABOUT_DIALOG;
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.Word(), 1);
    EXPECT_EQ(reader.Word(), 0xFFFF);
    reader.Dword();
    EXPECT_EQ(reader.Dword(), 0u);
    EXPECT_EQ(reader.Dword(), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    ASSERT_EQ(reader.Word(), 4);
    EXPECT_EQ(ReadGeometry(reader), (std::vector<short>{0, 0, 187, 102}));
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "menu";
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "class";
    EXPECT_EQ(reader.NameOrOrdinal(), L"About");
    EXPECT_EQ(reader.Word(), 8);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Byte(), 0);
    EXPECT_EQ(reader.Byte(), 0);
    EXPECT_EQ(reader.NameOrOrdinal(), L"MS Sans Serif");

    const DWORD shown = WS_CHILD | WS_VISIBLE;
    const ExpectedItem expected[] = {
        {L"BUTTON", IDOK, L"OK", shown | BS_DEFPUSHBUTTON | WS_TABSTOP, {130, 81, 50, 14}},
        {L"STATIC", -1, L"", shown | SS_CENTER | WS_GROUP, {25, 57, 78, 32}},
        {L"STATIC", -1, L"#" + std::to_wstring(ID_APP_ICON), shown | SS_ICON, {55, 26, 20, 20}},
        {L"BUTTON", -1, L"", shown | BS_GROUPBOX, {7, 7, 115, 88}},
    };
    std::wstring notice;
    for (const ExpectedItem& want : expected) {
        const TemplateItem item = reader.Item();
        EXPECT_EQ(item.exStyle, 0u) << "extended style";
        EXPECT_EQ(item.creationDataBytes, 0) << "creation data";
        EXPECT_EQ(item.windowClass, want.className);
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(GeometryOf(item), want.geometry);
        if (want.style == (shown | SS_CENTER | WS_GROUP)) {
            notice = item.text;
        } else {
            EXPECT_EQ(item.text, want.text);
        }
    }
    // Three lines, the first naming the program and its version.
    EXPECT_EQ(notice.substr(0, 16), L"Kestrivane v0.6\n");
    EXPECT_EQ(std::count(notice.begin(), notice.end(), L'\n'), 2);
    EXPECT_EQ(notice.find(L'\r'), std::wstring::npos);
    EXPECT_NE(notice.back(), L'\n');
}

TEST(AppIcon, GroupHoldsA32And16PixelImageOf16Colours)
{
    const unsigned char* const group = LoadTemplateBytes(MAKEINTRESOURCEA(14), ID_APP_ICON);
    ASSERT_NE(group, nullptr);
    TemplateReader reader(group);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Word(), 1);
    ASSERT_EQ(reader.Word(), 2);
    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        const BYTE width = reader.Byte();
        EXPECT_EQ(reader.Byte(), width);
        EXPECT_EQ(reader.Byte(), 16);
        reader.Byte();
        EXPECT_EQ(reader.Word(), 1);
        EXPECT_EQ(reader.Word(), 4);
        reader.Dword();
        reader.Word();
        sizes.push_back(width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
    for (int size : sizes) {
        const HANDLE icon = LoadImageA(appModule.instance, MAKEINTRESOURCEA(ID_APP_ICON), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(static_cast<HICON>(icon));
    }
}

namespace {

BOOL CALLBACK MatchAboutBox(HWND window, LPARAM context)
{
    char className[16] = {};
    char title[16] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(className, "#32770") == 0 && lstrcmpA(title, "About") == 0) {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindAboutBox()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchAboutBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Acts on the About box from a thread timer, which its modal loop dispatches,
// once the box is up; notes how the box and its owner looked at that moment.
// A box that does not end is ended with 99 after a while, failing the test.
class AboutBoxDriver {
public:
    enum Action { PRESS_ENTER, PRESS_ESCAPE, CLICK_CLOSE_BOX };

    AboutBoxDriver(Action action, HWND owner) : action(action), owner(owner)
    {
        active = this;
        timer = SetTimer(nullptr, 0, 20, &AboutBoxDriver::OnTimer);
    }

    ~AboutBoxDriver()
    {
        KillTimer(nullptr, timer);
        active = nullptr;
    }

    AboutBoxDriver(const AboutBoxDriver&) = delete;
    AboutBoxDriver& operator=(const AboutBoxDriver&) = delete;

    bool acted = false;
    LayoutRect boxRect;
    bool ownerEnabled = true;
    bool focusOnOk = false;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (active != nullptr) {
            active->Tick();
        }
    }

    void Tick()
    {
        ++ticks;
        const HWND box = FindAboutBox();
        if (box == nullptr) {
            return;
        }
        if (!acted && IsWindowVisible(box)) {
            Act(box);
        } else if (ticks > 250) {
            EndDialog(box, 99);
        }
    }

    void Act(HWND box)
    {
        acted = true;
        boxRect = OuterRectOf(box);
        ownerEnabled = owner != nullptr && IsWindowEnabled(owner);
        const HWND focus = GetFocus();
        focusOnOk = focus == GetDlgItem(box, IDOK);
        switch (action) {
        case PRESS_ENTER:
            PressKey(focus, VK_RETURN, 0x1C);
            break;
        case PRESS_ESCAPE:
            PressKey(focus, VK_ESCAPE, 0x01);
            break;
        case CLICK_CLOSE_BOX:
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
    }

    static void PressKey(HWND target, WPARAM key, LPARAM scanCode)
    {
        PostMessageA(target, WM_KEYDOWN, key, 1 | (scanCode << 16));
        PostMessageA(target, WM_KEYUP, key, 1 | (scanCode << 16) | (3u << 30));
    }

    static AboutBoxDriver* active;

    Action action;
    HWND owner;
    UINT_PTR timer = 0;
    int ticks = 0;
};

AboutBoxDriver* AboutBoxDriver::active = nullptr;

constexpr DWORD OWNER_STYLE = WS_OVERLAPPEDWINDOW;

// Away from the work area's middle, so that centring on it differs from
// centring on the area.
LayoutRect OwnerRect()
{
    const LayoutRect area = WorkArea();
    return MakeRect(area.left + 150, area.top + 120, area.left + 851, area.top + 561);
}

} // namespace

TEST(AboutDialog, EnterEndsTheBoxWithOneFromTheFocusedOkButton)
{
    const ScopedTopWindow owner(OwnerRect(), OWNER_STYLE | WS_VISIBLE);
    AboutBoxDriver driver(AboutBoxDriver::PRESS_ENTER, owner.Get());
    AboutDialog about;
    EXPECT_EQ(about.ShowModal(owner.Get()), 1);
    EXPECT_TRUE(driver.acted);
    EXPECT_TRUE(driver.focusOnOk);
    EXPECT_EQ(about.Window(), nullptr);
}

TEST(AboutDialog, EscapeEndsTheBoxWithTwo)
{
    const ScopedTopWindow owner(OwnerRect(), OWNER_STYLE | WS_VISIBLE);
    AboutBoxDriver driver(AboutBoxDriver::PRESS_ESCAPE, owner.Get());
    AboutDialog about;
    EXPECT_EQ(about.ShowModal(owner.Get()), 2);
    EXPECT_TRUE(driver.acted);
}

TEST(AboutDialog, CloseBoxEndsTheBoxWithTwo)
{
    const ScopedTopWindow owner(OwnerRect(), OWNER_STYLE | WS_VISIBLE);
    AboutBoxDriver driver(AboutBoxDriver::CLICK_CLOSE_BOX, owner.Get());
    AboutDialog about;
    EXPECT_EQ(about.ShowModal(owner.Get()), 2);
    EXPECT_TRUE(driver.acted);
}

TEST(AboutDialog, IsCentredOverAVisibleOwnerWhichItDisablesWhileUp)
{
    const ScopedTopWindow owner(OwnerRect(), OWNER_STYLE | WS_VISIBLE);
    AboutBoxDriver driver(AboutBoxDriver::PRESS_ENTER, owner.Get());
    AboutDialog about;
    about.ShowModal(owner.Get());
    ASSERT_TRUE(driver.acted);
    EXPECT_EQ(driver.boxRect, CentredOn(OuterRectOf(owner.Get()), driver.boxRect.Width(), driver.boxRect.Height()));
    EXPECT_FALSE(driver.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
}

TEST(AboutDialog, HiddenOwnerIsIgnoredForTheWorkAreasMiddle)
{
    const ScopedTopWindow owner(MakeRect(0, 0, 300, 200), OWNER_STYLE);
    AboutBoxDriver driver(AboutBoxDriver::PRESS_ENTER, owner.Get());
    AboutDialog about;
    EXPECT_EQ(about.ShowModal(owner.Get()), 1);
    ASSERT_TRUE(driver.acted);
    EXPECT_EQ(driver.boxRect, CentredOn(WorkArea(), driver.boxRect.Width(), driver.boxRect.Height()));
}

TEST(AboutDialog, MinimisedOwnerIsIgnoredForTheWorkAreasMiddle)
{
    const ScopedTopWindow owner(MakeRect(0, 0, 300, 200), OWNER_STYLE | WS_VISIBLE);
    ShowWindow(owner.Get(), SW_MINIMIZE);
    PumpMessages();
    if (!IsIconic(owner.Get())) {
        GTEST_SKIP() << "the window system did not minimise the owner";
    }
    AboutBoxDriver driver(AboutBoxDriver::PRESS_ENTER, owner.Get());
    AboutDialog about;
    EXPECT_EQ(about.ShowModal(owner.Get()), 1);
    ASSERT_TRUE(driver.acted);
    EXPECT_EQ(driver.boxRect, CentredOn(WorkArea(), driver.boxRect.Width(), driver.boxRect.Height()));
}
