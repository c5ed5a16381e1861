// The start-up show state: kestrivane.exe started as a process of its own with
// a given STARTUPINFO show state first shows its main window in that state,
// and still closes with code 2 through WM_CLOSE.
#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const DWORD WINDOW_TIMEOUT_MS = 20000;
const DWORD EXIT_TIMEOUT_MS = 10000;
const DWORD CANCEL_EXIT_CODE = 2;

class StartupShowStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_NO_THROW(WriteFileBytes(folder.Path("qx7set.dat"), Header(2, 151) +
                                                                      Entry("Grassland", 7, {"Grass"}, 151) +
                                                                      Entry("Desert", 9, {"Sand"}, 151)));
    }

    // Starts the editor; the window it first shows, or null.
    HWND Start(int showState)
    {
        editor = std::make_unique<ChildProcess>(KESTRIVANE_EXECUTABLE, folder.Path(), showState);
        if (!editor->Started()) {
            ADD_FAILURE() << "could not start " << KESTRIVANE_EXECUTABLE << ": error " << GetLastError();
            return nullptr;
        }
        const HWND window = editor->WaitForVisibleWindow(WINDOW_TIMEOUT_MS);
        EXPECT_NE(nullptr, window) << "no visible window within " << WINDOW_TIMEOUT_MS << " ms";
        return window;
    }

    void ExpectClosesWithCancelCode(HWND window) const
    {
        ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
        EXPECT_EQ(CANCEL_EXIT_CODE, editor->WaitForExit(EXIT_TIMEOUT_MS));
    }

    TemporaryFolder folder;
    std::unique_ptr<ChildProcess> editor;
};

class MinimisedStartTest : public StartupShowStateTest, public ::testing::WithParamInterface<int> {};

TEST_P(MinimisedStartTest, StartedMinimisedShowsTheWindowMinimised)
{
    const HWND window = Start(GetParam());
    ASSERT_NE(nullptr, window);

    EXPECT_TRUE(IsIconic(window));
    ExpectClosesWithCancelCode(window);
}

std::string ShowStateName(const ::testing::TestParamInfo<int>& info)
{
    return info.param == SW_SHOWMINNOACTIVE ? "ShowMinNoActive" : "ShowMinimized";
}

INSTANTIATE_TEST_SUITE_P(ShowStates, MinimisedStartTest, ::testing::Values(SW_SHOWMINNOACTIVE, SW_SHOWMINIMIZED),
                         ShowStateName);

TEST_F(StartupShowStateTest, StartedWithoutShowStateShowsTheWindowNormally)
{
    const HWND window = Start(ChildProcess::NO_SHOW_STATE);
    ASSERT_NE(nullptr, window);

    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));
    ExpectClosesWithCancelCode(window);
}

TEST_F(StartupShowStateTest, StartedMaximisedShowsTheWindowMaximised)
{
    const HWND window = Start(SW_SHOWMAXIMIZED);
    ASSERT_NE(nullptr, window);

    EXPECT_TRUE(IsZoomed(window));
    ExpectClosesWithCancelCode(window);
}

} // namespace
