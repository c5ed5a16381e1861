// The About box: its template and icon as built into the program, and the
// real modal box driven from a timer inside its modal loop.
#include "ui/AboutDialog.h"

#include <gtest/gtest.h>

#include "app/AppModule.h"
#include "res/ResourceIds.h"
#include "tests/ui/LayoutRectPrinter.h"
#include "tests/ui/WindowTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const WORD ENGLISH_US = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

const BYTE* LoadTemplateBytes(LPCSTR type, int id)
{
    const HRSRC resource = FindResourceExA(appModule.instance, type, MAKEINTRESOURCEA(id), ENGLISH_US);
    if (resource == nullptr) {
        return nullptr;
    }
    return static_cast<const BYTE*>(LockResource(LoadResource(appModule.instance, resource)));
}

// Reads an extended dialog template field by field.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* bytes) : start(bytes), at(bytes) {}

    WORD Word()
    {
        WORD value;
        CopyMemory(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }

    DWORD Dword()
    {
        DWORD value;
        CopyMemory(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }

    BYTE Byte() { return *at++; }

    // A name or an ordinal; an ordinal reads as "#n", a missing one as "".
    std::wstring NameOrOrdinal()
    {
        const WORD first = Word();
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(Word());
        }
        std::wstring text;
        for (WORD c = first; c != 0; c = Word()) {
            text.push_back(static_cast<wchar_t>(c));
        }
        return text;
    }

    void AlignToDword()
    {
        while ((at - start) % 4 != 0) {
            ++at;
        }
    }

private:
    const BYTE* start;
    const BYTE* at;
};

struct TemplateItem {
    std::wstring className;
    DWORD id;
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

// Reads one control and checks the fields that are alike for all four.
TemplateItem ReadItem(TemplateReader& reader)
{
    reader.AlignToDword();
    reader.Dword();
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    TemplateItem item;
    item.style = reader.Dword();
    item.geometry = ReadGeometry(reader);
    item.id = reader.Dword();
    item.className = reader.NameOrOrdinal();
    // The predefined classes may be written as ordinals.
    if (item.className == L"#128") {
        item.className = L"BUTTON";
    } else if (item.className == L"#130") {
        item.className = L"STATIC";
    }
    item.text = reader.NameOrOrdinal();
    EXPECT_EQ(reader.Word(), 0) << "creation data";
    return item;
}

}

TEST(AboutTemplate, HoldsTheBoxWithItsFourControlsInOrder)
{
    const BYTE* const bytes = LoadTemplateBytes(MAKEINTRESOURCEA(5), ID_ABOUT_DIALOG);
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
    const TemplateItem expected[] = {
        {L"BUTTON", IDOK, L"OK", shown | BS_DEFPUSHBUTTON | WS_TABSTOP, {130, 81, 50, 14}},
        {L"STATIC", 0xFFFFFFFF, L"", shown | SS_CENTER | WS_GROUP, {25, 57, 78, 32}},
        {L"STATIC", 0xFFFFFFFF, L"#" + std::to_wstring(ID_APP_ICON), shown | SS_ICON, {55, 26, 20, 20}},
        {L"BUTTON", 0xFFFFFFFF, L"", shown | BS_GROUPBOX, {7, 7, 115, 88}},
    };
    std::wstring notice;
    for (const TemplateItem& want : expected) {
        const TemplateItem item = ReadItem(reader);
        EXPECT_EQ(item.className, want.className);
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(item.geometry, want.geometry);
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
    const BYTE* const group = LoadTemplateBytes(MAKEINTRESOURCEA(14), ID_APP_ICON);
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

LayoutRect CentredOn(const LayoutRect& target, const LayoutRect& box)
{
    const int x = (target.left + target.right) / 2 - box.Width() / 2;
    const int y = (target.top + target.bottom) / 2 - box.Height() / 2;
    return MakeRect(x, y, x + box.Width(), y + box.Height());
}

constexpr DWORD OWNER_STYLE = WS_OVERLAPPEDWINDOW;

// Away from the work area's middle, so that centring on it differs from
// centring on the area.
LayoutRect OwnerRect()
{
    const LayoutRect area = WorkArea();
    return MakeRect(area.left + 150, area.top + 120, area.left + 851, area.top + 561);
}

}

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
    EXPECT_EQ(driver.boxRect, CentredOn(OuterRectOf(owner.Get()), driver.boxRect));
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
    EXPECT_EQ(driver.boxRect, CentredOn(WorkArea(), driver.boxRect));
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
    EXPECT_EQ(driver.boxRect, CentredOn(WorkArea(), driver.boxRect));
}
