// The main window's controls follow its size by its resize rules, it cannot be
// made smaller than it opened, and its grip hides while it is maximised. The
// same tests run again in a child process at 192 DPI, where the template is
// laid out in twice the pixels.

#include "tests/main/MainWindowTest.h"

#include "res/ResourceIds.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LayoutRects.h"
#include "tests/support/WindowRects.h"
#include "tests/support/WineCheck.h"

#include <cstdlib>
#include <map>
#include <string>

namespace {

const char EXPECTED_DPI_VARIABLE[] = "KESTRIVANE_EXPECTED_DPI";

class MainDialogLayout : public MainWindowTest {
protected:
    void SetUp() override
    {
        WriteTable(SampleTable());
        Open();
        for (const int id : {ID_ABOUT_BUTTON, ID_TILESET_LIST, ID_SLOT_LIST, ID_SAVE_BUTTON, ID_SLOT_NAME_EDIT,
                             ID_AMBIENT_EDIT, ID_SIZE_GRIP}) {
            opened[id] = Where(GetDlgItem(window, id));
        }
        RecordLabels();
        openedSize = OuterSize();
    }

    LayoutRect Where(HWND control) const { return ChildRect(window, control); }

    // The two labels have no id of their own; they are the window's STATIC children.
    std::vector<HWND> Labels() const
    {
        std::vector<HWND> labels;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            char className[16] = {};
            GetClassNameA(child, className, sizeof(className));
            if (lstrcmpiA(className, "Static") == 0) {
                labels.push_back(child);
            }
        }
        return labels;
    }

    void RecordLabels()
    {
        for (const HWND label : Labels()) {
            openedLabels.push_back(Where(label));
        }
    }

    SIZE ClientSize() const
    {
        const LayoutRect client = ClientRectOf(window);
        return {client.right, client.bottom};
    }

    SIZE OuterSize() const
    {
        const LayoutRect outer = OuterRectOf(window);
        return {outer.Width(), outer.Height()};
    }

    void GrowBy(int dx, int dy)
    {
        const SIZE outer = OuterSize();
        SetWindowPos(window, nullptr, 0, 0, outer.cx + dx, outer.cy + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }

    LayoutRect Now(int id) const { return Where(GetDlgItem(window, id)); }

    void ExpectLabelsStay() const
    {
        const std::vector<HWND> labels = Labels();
        ASSERT_EQ(labels.size(), openedLabels.size());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(Where(labels[i]), openedLabels[i]) << "label " << i;
        }
    }

    std::map<int, LayoutRect> opened;
    std::vector<LayoutRect> openedLabels;
    SIZE openedSize = {};
};

TEST_F(MainDialogLayout, RunsAtTheExpectedResolution)
{
    const char* const expected = std::getenv(EXPECTED_DPI_VARIABLE);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(dpi, expected != nullptr ? std::atoi(expected) : 96);

    // The template is laid out in dialog units at this resolution's font size.
    RECT list = {6, 18, 6 + 105, 18 + 173};
    MapDialogRect(window, &list);
    EXPECT_EQ(opened[ID_TILESET_LIST], FromRect(list));
}

TEST_F(MainDialogLayout, WiderWindowStretchesTheSlotControlsAndMovesTheButtons)
{
    const SIZE before = ClientSize();
    GrowBy(100, 0);
    ASSERT_EQ(ClientSize().cx, before.cx + 100);
    EXPECT_EQ(Now(ID_SLOT_NAME_EDIT), Grown(opened[ID_SLOT_NAME_EDIT], 100, 0));
    EXPECT_EQ(Now(ID_SLOT_LIST), Grown(opened[ID_SLOT_LIST], 100, 0));
    EXPECT_EQ(Now(ID_SAVE_BUTTON), Moved(opened[ID_SAVE_BUTTON], 100, 0));
    EXPECT_EQ(Now(ID_ABOUT_BUTTON), Moved(opened[ID_ABOUT_BUTTON], 100, 0));
    EXPECT_EQ(Now(ID_SIZE_GRIP), Moved(opened[ID_SIZE_GRIP], 100, 0));
    EXPECT_EQ(Now(ID_TILESET_LIST), opened[ID_TILESET_LIST]);
    EXPECT_EQ(Now(ID_AMBIENT_EDIT), opened[ID_AMBIENT_EDIT]);
    ExpectLabelsStay();
}

TEST_F(MainDialogLayout, TallerWindowStretchesTheListsAndMovesTheAboutButtonAndGrip)
{
    const SIZE before = ClientSize();
    GrowBy(0, 50);
    ASSERT_EQ(ClientSize().cy, before.cy + 50);
    EXPECT_EQ(Now(ID_TILESET_LIST), Grown(opened[ID_TILESET_LIST], 0, 50));
    EXPECT_EQ(Now(ID_SLOT_LIST), Grown(opened[ID_SLOT_LIST], 0, 50));
    EXPECT_EQ(Now(ID_ABOUT_BUTTON), Moved(opened[ID_ABOUT_BUTTON], 0, 50));
    EXPECT_EQ(Now(ID_SIZE_GRIP), Moved(opened[ID_SIZE_GRIP], 0, 50));
    EXPECT_EQ(Now(ID_SAVE_BUTTON), opened[ID_SAVE_BUTTON]);
    EXPECT_EQ(Now(ID_SLOT_NAME_EDIT), opened[ID_SLOT_NAME_EDIT]);
    EXPECT_EQ(Now(ID_AMBIENT_EDIT), opened[ID_AMBIENT_EDIT]);
    ExpectLabelsStay();
}

TEST_F(MainDialogLayout, GripSitsInTheBottomRightCorner)
{
    const SIZE client = ClientSize();
    EXPECT_EQ(opened[ID_SIZE_GRIP].right, client.cx);
    EXPECT_EQ(opened[ID_SIZE_GRIP].bottom, client.cy);
}

TEST_F(MainDialogLayout, MinimumTrackingSizeIsTheOpeningSize)
{
    MINMAXINFO info = {};
    info.ptMinTrackSize = {1, 2};
    info.ptMaxTrackSize = {5000, 4000};
    EXPECT_EQ(SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, openedSize.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, openedSize.cy);
    EXPECT_EQ(info.ptMaxTrackSize.x, 5000);
    EXPECT_EQ(info.ptMaxTrackSize.y, 4000);

    // The window system asks the window the same before it resizes it.
    GrowBy(-60, -40);
    EXPECT_EQ(OuterSize().cx, openedSize.cx);
    EXPECT_EQ(OuterSize().cy, openedSize.cy);
    EXPECT_EQ(Now(ID_SLOT_LIST), opened[ID_SLOT_LIST]);
}

TEST_F(MainDialogLayout, GripIsHiddenWhileMaximisedAndShownAgainOnRestore)
{
    const HWND grip = GetDlgItem(window, ID_SIZE_GRIP);
    ASSERT_TRUE(IsWindowVisible(grip));
    ShowWindow(window, SW_MAXIMIZE);
    Pump();
    if (!IsZoomed(window)) {
        GTEST_SKIP() << "the window system did not maximise the window";
    }
    EXPECT_FALSE(IsWindowVisible(grip));

    ShowWindow(window, SW_RESTORE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(grip));
    EXPECT_EQ(Now(ID_SIZE_GRIP), opened[ID_SIZE_GRIP]);
    EXPECT_EQ(OuterSize().cx, openedSize.cx);
}

// Sets the resolution that processes started from now on take, and restores
// the previous setting when it goes.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr);
        DWORD size = sizeof(previous);
        hadPrevious =
            RegQueryValueExA(key, VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(&previous), &size) == ERROR_SUCCESS;
        RegSetValueExA(key, VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~ScopedLogPixels()
    {
        if (hadPrevious) {
            RegSetValueExA(key, VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous), sizeof(previous));
        } else {
            RegDeleteValueA(key, VALUE);
        }
        RegCloseKey(key);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    static constexpr const char* VALUE = "LogPixels";
    HKEY key = nullptr;
    DWORD previous = 0;
    bool hadPrevious = false;
};

// Runs this test program again with a test filter and waits for its exit code.
DWORD RunThisProgram(const std::string& filter)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    ChildProcess::Launch launch;
    launch.program = path;
    launch.arguments = "--gtest_filter=" + filter;
    // Its test report goes where this program's goes.
    launch.inheritHandles = true;
    const ChildProcess child(launch);
    return child.WaitForExit(60000);
}

// The window is laid out in dialog units at the system's resolution; the
// resize rules then work in the pixels it recorded at start-up.
TEST(MainDialogLayoutAtHighResolution, RulesHoldAt192Dpi)
{
    if (std::getenv(EXPECTED_DPI_VARIABLE) != nullptr) {
        GTEST_SKIP() << "this is the child run at a set resolution";
    }
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "Windows takes a new resolution only at the next sign-in";
    }
    const ScopedLogPixels resolution(192);
    SetEnvironmentVariableA(EXPECTED_DPI_VARIABLE, "192");
    const DWORD code = RunThisProgram("MainDialogLayout.*");
    SetEnvironmentVariableA(EXPECTED_DPI_VARIABLE, nullptr);
    EXPECT_EQ(code, 0u);
}

} // namespace
