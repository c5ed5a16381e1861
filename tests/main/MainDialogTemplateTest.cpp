// The main window's resources as the executable carries them: the dialog
// template read back field by field, the version record, and the icons the
// window shows.

#include "app/AppModule.h"
#include "app/Win32.h"
#include "res/ResourceIds.h"
#include "tests/main/MainWindowTest.h"
#include "tests/support/ResourceBytes.h"
#include "tests/support/TemplateReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A control as the test expects it: class, id, text, style, extended style,
// then its place in dialog units.
struct ExpectedItem {
    std::wstring windowClass;
    int id;
    std::wstring text;
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;
};

const unsigned char* DialogResource(int id)
{
    return ResourceBytes(appModule.instance, MAKEINTRESOURCEA(5), id);
}

TEST(MainDialogTemplate, HeaderIsTheResizableOverlappedWindow)
{
    const unsigned char* bytes = DialogResource(ID_MAIN_DIALOG);
    ASSERT_NE(bytes, nullptr) << "template 129 in English (United States)";
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.Word(), 1);      // dlgVer
    EXPECT_EQ(reader.Word(), 0xFFFF); // signature of an extended template
    reader.Dword();                   // help id
    EXPECT_EQ(reader.Dword(), 0u);    // extended style
    EXPECT_EQ(reader.Dword(), static_cast<DWORD>(WS_OVERLAPPEDWINDOW | DS_SETFONT));
    EXPECT_EQ(reader.Word(), 8); // controls
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 332);
    EXPECT_EQ(reader.Short(), 195);
    EXPECT_EQ(reader.NameOrOrdinal(), L""); // no menu
    EXPECT_EQ(reader.NameOrOrdinal(), L""); // no class of its own
    EXPECT_EQ(reader.String(), L"kestrivane");
    EXPECT_EQ(reader.Word(), 8); // points
    EXPECT_EQ(reader.Word(), 0); // weight
    EXPECT_EQ(reader.Byte(), 0); // italic
    EXPECT_EQ(reader.Byte(), 0); // character set
    EXPECT_EQ(reader.String(), L"MS Sans Serif");
}

std::vector<TemplateItem> ReadItems(const unsigned char* bytes)
{
    TemplateReader reader(bytes);
    reader.Skip(2 + 2 + 4 + 4 + 4);
    const int count = reader.Word();
    reader.Skip(4 * 2);
    reader.NameOrOrdinal();
    reader.NameOrOrdinal();
    reader.String();
    reader.Skip(2 + 2 + 1 + 1);
    reader.String();

    std::vector<TemplateItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back(reader.Item());
    }
    return items;
}

TEST(MainDialogTemplate, ControlsAreInTabOrderWithTheirIdsTextsStylesAndPlaces)
{
    const unsigned char* bytes = DialogResource(ID_MAIN_DIALOG);
    ASSERT_NE(bytes, nullptr);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD list = child | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    const std::vector<ExpectedItem> expected = {
        {L"BUTTON", ID_ABOUT_BUTTON, L"&About...", child | BS_PUSHBUTTON | WS_TABSTOP, 0, 275, 174, 50, 14},
        {L"LISTBOX", ID_TILESET_LIST, L"", list, 0, 6, 18, 105, 173},
        {L"LISTBOX", ID_SLOT_LIST, L"", list, 0, 114, 54, 150, 138},
        {L"BUTTON", ID_SAVE_BUTTON, L"Save", child | BS_PUSHBUTTON | WS_TABSTOP, 0, 275, 15, 50, 14},
        {L"EDIT", ID_SLOT_NAME_EDIT, L"", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 114, 36, 150, 14},
        {L"STATIC", -1, L"Tileset:", child | SS_LEFT | WS_GROUP, 0, 6, 6, 48, 8},
        {L"EDIT", ID_AMBIENT_EDIT, L"", child | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 0, 222, 18, 40,
         14},
        {L"STATIC", -1, L"Ambient sound scheme number:", child | SS_LEFT | WS_GROUP, 0, 118, 21, 102, 8},
    };
    const std::vector<TemplateItem> items = ReadItems(bytes);
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(items[i].windowClass, expected[i].windowClass);
        EXPECT_EQ(items[i].id, expected[i].id);
        EXPECT_EQ(items[i].text, expected[i].text);
        EXPECT_EQ(items[i].style, expected[i].style);
        EXPECT_EQ(items[i].exStyle, 0u);
        EXPECT_EQ(items[i].x, expected[i].x);
        EXPECT_EQ(items[i].y, expected[i].y);
        EXPECT_EQ(items[i].cx, expected[i].cx);
        EXPECT_EQ(items[i].cy, expected[i].cy);
    }
}

std::string VersionString(const std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "(missing)";
    }
    return value;
}

TEST(MainDialogTemplate, VersionRecordNamesTheProgramAtVersion1001)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(appModule.instance, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, 2u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    EXPECT_EQ(VersionString(block, "FileDescription"), "kestrivane Module");
    EXPECT_EQ(VersionString(block, "FileVersion"), "1, 0, 0, 1");
    EXPECT_EQ(VersionString(block, "InternalName"), "kestrivane");
    EXPECT_EQ(VersionString(block, "OriginalFilename"), "kestrivane.exe");
    EXPECT_EQ(VersionString(block, "ProductName"), "kestrivane Module");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1, 0, 0, 1");

    DWORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(LOWORD(*translation), 0x0409);
    EXPECT_EQ(HIWORD(*translation), 1200);
}

// The pixel size of an icon's image: its colour bitmap, or the upper half of
// the mask of a monochrome icon.
SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return {0, 0};
    }
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    const SIZE size = {bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return size;
}

class MainWindowIcons : public MainWindowTest {};

// Read in the window's own process: under Wine, WM_GETICON from another process answers 0.
TEST_F(MainWindowIcons, LargeAndSmallIconsHaveTheSystemsIconSizes)
{
    WriteTable(SampleTable());
    Open();
    const HICON large = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    const HICON small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_NE(large, small);
    const SIZE largeSize = IconSize(large);
    EXPECT_EQ(largeSize.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(largeSize.cy, GetSystemMetrics(SM_CYICON));
    const SIZE smallSize = IconSize(small);
    EXPECT_EQ(smallSize.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(smallSize.cy, GetSystemMetrics(SM_CYSMICON));
}

} // namespace
