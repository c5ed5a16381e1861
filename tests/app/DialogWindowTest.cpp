// Binding of a dialog object at its window's first message, routing of later
// messages, the results the dialog manager receives, and the final step after
// WM_NCDESTROY. Real dialogs from in-memory templates, driven with SendMessageA.
#include "app/DialogWindow.h"
#include "tests/app/DialogTemplate.h"
#include "tests/app/LoggingDialog.h"
#include "tests/app/MessageName.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT WM_TEST = WM_APP + 1;
constexpr UINT WM_TEST_NESTED = WM_APP + 2;
constexpr LRESULT RESULT = 0x1234;

// Destroys a test dialog that is still there when the test ends.
class WindowGuard {
public:
    explicit WindowGuard(HWND window) : window(window) {}
    ~WindowGuard()
    {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
    WindowGuard(const WindowGuard&) = delete;
    WindowGuard& operator=(const WindowGuard&) = delete;

private:
    HWND window;
};

LoggingDialog::Reaction Handle(UINT handled, LRESULT result)
{
    return [handled, result](UINT message, WPARAM, LPARAM, LRESULT& out) {
        if (message != handled) {
            return FALSE;
        }
        out = result;
        return TRUE;
    };
}

HWND CreateBound(LoggingDialog& dialog, bool withFont = true)
{
    pendingCreation.PrepareCreation(&dialog);
    return CreateTestDialog(DialogTemplate(withFont));
}

bool CancelArrived(const LoggingDialog& dialog)
{
    for (const LoggedMessage& entry : dialog.Logged(WM_COMMAND)) {
        if (LOWORD(entry.wParam) == IDCANCEL) {
            return true;
        }
    }
    return false;
}

class DialogWindowTest : public testing::Test {
protected:
    void SetUp() override { PumpMessages(); }
};

TEST_F(DialogWindowTest, WithAFontTheBindingFirstMessageIsWmSetFont)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);

    ASSERT_NE(nullptr, hwnd);
    ASSERT_FALSE(dialog.log.empty());
    EXPECT_EQ(static_cast<UINT>(WM_SETFONT), dialog.log.front().message);
    EXPECT_EQ(hwnd, dialog.log.front().window);
    EXPECT_EQ(hwnd, dialog.Window());
}

TEST_F(DialogWindowTest, WithoutAFontTheBindingFirstMessageIsWmInitDialog)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog, false);
    const WindowGuard guard(hwnd);

    ASSERT_FALSE(dialog.log.empty());
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), dialog.log.front().message);
    EXPECT_EQ(hwnd, dialog.log.front().window);
}

TEST_F(DialogWindowTest, WmInitDialogAndLaterMessagesReachTheObjectThroughDialogDispatch)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);

    EXPECT_EQ(reinterpret_cast<LONG_PTR>(DialogDispatch), GetWindowLongPtrA(hwnd, DWLP_DLGPROC));
    ASSERT_EQ(1u, dialog.Logged(WM_INITDIALOG).size());
    EXPECT_EQ(hwnd, dialog.Logged(WM_INITDIALOG).front().window);

    SendMessageA(hwnd, WM_TEST, 7, 8);
    const std::vector<LoggedMessage> test = dialog.Logged(WM_TEST);
    ASSERT_EQ(1u, test.size());
    EXPECT_EQ(7u, test.front().wParam);
    EXPECT_EQ(8, test.front().lParam);
}

TEST_F(DialogWindowTest, HandledWmInitDialogResultDecidesTheDefaultFocus)
{
    LoggingDialog focused;
    focused.reaction = Handle(WM_INITDIALOG, TRUE);
    const HWND focusedWindow = CreateBound(focused);
    const WindowGuard focusedGuard(focusedWindow);
    EXPECT_EQ(GetDlgItem(focusedWindow, DialogTemplate::EDIT_ID), GetFocus());

    LoggingDialog unfocused;
    unfocused.reaction = Handle(WM_INITDIALOG, FALSE);
    const HWND unfocusedWindow = CreateBound(unfocused);
    const WindowGuard unfocusedGuard(unfocusedWindow);
    EXPECT_NE(GetDlgItem(unfocusedWindow, DialogTemplate::EDIT_ID), GetFocus());
}

class DirectResultTest : public DialogWindowTest, public testing::WithParamInterface<MessageName> {};

TEST_P(DirectResultTest, HandledResultIsReturnedDirectly)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);
    dialog.reaction = Handle(GetParam().message, RESULT);

    EXPECT_EQ(RESULT, SendMessageA(hwnd, GetParam().message, 0, 0));
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, DWLP_MSGRESULT));
}

INSTANTIATE_TEST_SUITE_P(
    TwelveMessages, DirectResultTest,
    testing::Values(MessageName{WM_VKEYTOITEM, "VKeyToItem"}, MessageName{WM_CHARTOITEM, "CharToItem"},
                    MessageName{WM_QUERYDRAGICON, "QueryDragIcon"}, MessageName{WM_COMPAREITEM, "CompareItem"},
                    MessageName{WM_INITDIALOG, "InitDialog"}, MessageName{WM_CTLCOLORMSGBOX, "CtlColorMsgBox"},
                    MessageName{WM_CTLCOLOREDIT, "CtlColorEdit"}, MessageName{WM_CTLCOLORLISTBOX, "CtlColorListBox"},
                    MessageName{WM_CTLCOLORBTN, "CtlColorBtn"}, MessageName{WM_CTLCOLORDLG, "CtlColorDlg"},
                    MessageName{WM_CTLCOLORSCROLLBAR, "CtlColorScrollBar"},
                    MessageName{WM_CTLCOLORSTATIC, "CtlColorStatic"}),
    NameOfMessage());

class MessageResultTest : public DialogWindowTest, public testing::WithParamInterface<MessageName> {};

TEST_P(MessageResultTest, HandledResultReachesTheSenderThroughDwlpMsgResult)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);
    dialog.reaction = Handle(GetParam().message, RESULT);

    EXPECT_EQ(RESULT, SendMessageA(hwnd, GetParam().message, 0, 0));
    EXPECT_EQ(RESULT, GetWindowLongPtrA(hwnd, DWLP_MSGRESULT));
}

INSTANTIATE_TEST_SUITE_P(OtherMessages, MessageResultTest,
                         testing::Values(MessageName{WM_COMMAND, "Command"}, MessageName{WM_TEST, "App"},
                                         MessageName{WM_GETDLGCODE, "GetDlgCode"},
                                         MessageName{WM_SETCURSOR, "SetCursor"}),
                         NameOfMessage());

TEST_F(DialogWindowTest, HandledMessageWithResultZeroSkipsTheDefaultProcessing)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);
    dialog.reaction = Handle(WM_CLOSE, 0);

    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    PumpMessages();

    EXPECT_FALSE(CancelArrived(dialog));
}

TEST_F(DialogWindowTest, UnhandledMessageGetsTheDefaultProcessing)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);

    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    PumpMessages();

    EXPECT_TRUE(CancelArrived(dialog));
}

TEST_F(DialogWindowTest, NestedHandlersKeepTheirOwnResults)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);
    LRESULT nested = 0;
    dialog.reaction = [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_TEST) {
            nested = SendMessageA(hwnd, WM_TEST_NESTED, 0, 0);
            result = 1;
            return TRUE;
        }
        if (message == WM_TEST_NESTED) {
            result = 2;
            return TRUE;
        }
        return FALSE;
    };

    EXPECT_EQ(1, SendMessageA(hwnd, WM_TEST, 0, 0));
    EXPECT_EQ(2, nested);
}

TEST_F(DialogWindowTest, HandlerThatDestroysItsWindowKeepsItUntilItReturns)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);
    const WindowGuard guard(hwnd);
    HWND windowAfterDestroy = nullptr;
    int finishedCallsInHandler = -1;
    dialog.reaction = [&](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_COMMAND || LOWORD(wParam) != DialogTemplate::BUTTON_ID) {
            return FALSE;
        }
        DestroyWindow(dialog.Window());
        windowAfterDestroy = dialog.Window();
        finishedCallsInHandler = dialog.finishedCalls;
        result = 0;
        return TRUE;
    };

    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(DialogTemplate::BUTTON_ID, BN_CLICKED), 0);

    EXPECT_FALSE(IsWindow(hwnd));
    const std::vector<LoggedMessage> ncDestroy = dialog.Logged(WM_NCDESTROY);
    ASSERT_EQ(1u, ncDestroy.size());
    EXPECT_EQ(hwnd, ncDestroy.front().window);
    EXPECT_EQ(hwnd, windowAfterDestroy);
    EXPECT_EQ(0, finishedCallsInHandler);
    EXPECT_EQ(1, dialog.finishedCalls);
    EXPECT_EQ(hwnd, dialog.finishedWindow);
    EXPECT_EQ(nullptr, dialog.Window());
}

TEST_F(DialogWindowTest, WindowDestroyedFromOutsideFinishesAtItsWmNcDestroy)
{
    LoggingDialog dialog;
    const HWND hwnd = CreateBound(dialog);

    DestroyWindow(hwnd);

    EXPECT_EQ(1, dialog.finishedCalls);
    EXPECT_EQ(hwnd, dialog.finishedWindow);
    EXPECT_EQ(nullptr, dialog.Window());
}

TEST_F(DialogWindowTest, WindowWithoutAPreparedObjectStaysUnbound)
{
    const HWND unbound = CreateTestDialog(DialogTemplate(true));
    const WindowGuard unboundGuard(unbound);
    ASSERT_NE(nullptr, unbound);
    EXPECT_EQ(0, SendMessageA(unbound, WM_TEST, 0, 0));

    LoggingDialog later;
    pendingCreation.PrepareCreation(&later);
    SendMessageA(unbound, WM_TEST, 0, 0);
    EXPECT_EQ(nullptr, later.Window());
    EXPECT_TRUE(later.log.empty());

    const HWND bound = CreateTestDialog(DialogTemplate(true));
    const WindowGuard boundGuard(bound);
    EXPECT_EQ(bound, later.Window());
}

TEST_F(DialogWindowTest, DestroyingTheObjectLeavesItsWindowUnrouted)
{
    auto dialog = std::make_unique<LoggingDialog>();
    dialog->reaction = Handle(WM_TEST, RESULT);
    const HWND hwnd = CreateBound(*dialog);
    const WindowGuard guard(hwnd);

    dialog.reset();

    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(0, SendMessageA(hwnd, WM_TEST, 0, 0));
}

} // namespace
