// The shell run in a program that carries none of the editor's resources, so
// the main window cannot be created: RunMainWindow must give 0 and leave
// nothing behind, neither a window nor a registered loop nor a run of the loop.
#include "app/AppModule.h"
#include "app/PendingCreation.h"
#include "app/RunMainWindow.h"
#include "res/ResourceIds.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

const UINT WM_APP_MARKER = WM_APP + 7;
const WPARAM QUIT_CODE = 7;

BOOL CALLBACK CountProcessWindow(HWND window, LPARAM context)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(context);
    }
    return TRUE;
}

int TopLevelWindowsOfThisProcess()
{
    int count = 0;
    EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The entry point's frame around RunMainWindow, with the queue emptied first
// so that each test sees only what it posts.
class RunMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(ID_MAIN_DIALOG), RT_DIALOG))
            << "this program must not carry the main window's template";
        DiscardMessages();
        appModule.Startup();
    }
    void TearDown() override { appModule.Shutdown(); }
};

TEST_F(RunMainWindowTest, ReturnsZeroWithoutTheMainTemplate)
{
    EXPECT_EQ(0, RunMainWindow(SW_SHOW));
}

TEST_F(RunMainWindowTest, LeavesNoWindowWithoutTheMainTemplate)
{
    ASSERT_EQ(0, TopLevelWindowsOfThisProcess());

    RunMainWindow(SW_SHOW);

    EXPECT_EQ(0, TopLevelWindowsOfThisProcess());
}

// A loop that ran would have taken the marker and ended on the quit message,
// returning its code.
TEST_F(RunMainWindowTest, DoesNotRunTheLoopWithoutTheMainTemplate)
{
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP_MARKER, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, QUIT_CODE, 0));

    EXPECT_EQ(0, RunMainWindow(SW_SHOW));

    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP_MARKER, WM_APP_MARKER, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(QUIT_CODE, msg.wParam);
}

TEST_F(RunMainWindowTest, UnregistersItsLoopWithoutTheMainTemplate)
{
    RunMainWindow(SW_SHOW);

    EXPECT_EQ(nullptr, appModule.FindLoop(GetCurrentThreadId()));
}

// The destroyed dialog object must not stay waiting for a window: the next
// dialog created on this thread would be bound to it.
TEST_F(RunMainWindowTest, LeavesNoDialogObjectWaitingWithoutTheMainTemplate)
{
    RunMainWindow(SW_SHOW);

    EXPECT_EQ(nullptr, pendingCreation.TakePending());
}

} // namespace
