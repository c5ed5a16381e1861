// Saving, the close question and the close codes of the main window, the end
// of a Windows session, and how failed loads and saves are told to the user.

#include "tests/main/MainWindowTest.h"

#include "app/AppModule.h"
#include "app/MessageLoop.h"
#include "app/ScopedLock.h"
#include "res/ResourceIds.h"

namespace {

// "Сохранить изменения?"
const std::wstring SAVE_QUESTION =
    L"\u0421\u043e\u0445\u0440\u0430\u043d\u0438\u0442\u044c \u0438\u0437\u043c\u0435\u043d\u0435\u043d\u0438\u044f?";

class MainDialogClosing : public MainWindowTest {
protected:
    void OpenSample()
    {
        WriteTable(SampleTable());
        Open();
    }

    // Renames slot 0 of the first tileset to "Grassy".
    void RenameFirstSlot()
    {
        SelectTileset(0);
        SelectSlot(0);
        Type(ID_SLOT_NAME_EDIT, "y");
        ASSERT_TRUE(Modified());
    }

    std::string SampleWithRename() const { return SampleTable("Grassy"); }

    void MakeTableReadOnly() const { SetFileAttributesA("qx7set.dat", FILE_ATTRIBUTE_READONLY); }

    // The question the window asks before unsaved edits could be lost.
    void ExpectSaveQuestion(const MessageBoxAnswerer::Box& box) const
    {
        EXPECT_EQ(box.text, SAVE_QUESTION);
        EXPECT_EQ(box.caption, L"QX7005SET.DAT");
        EXPECT_EQ(box.owner, window);
        EXPECT_TRUE(box.hasYesNoCancel);
        EXPECT_FALSE(box.hasIcon);
    }
};

struct CloseCase {
    const char* name;
    UINT message;
    WPARAM command;
    int quitCode;
};

class MainDialogCloseUnedited : public MainDialogClosing, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(MainDialogCloseUnedited, AsksNothingAndQuitsWithTheCommandsCode)
{
    OpenSample();
    SendMessageA(window, GetParam().message, GetParam().command, 0);
    Pump();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(QuitCode(), GetParam().quitCode);
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

// The close box becomes Cancel.
INSTANTIATE_TEST_SUITE_P(Commands, MainDialogCloseUnedited,
                         ::testing::Values(CloseCase{"Cancel", WM_COMMAND, IDCANCEL, 2},
                                           CloseCase{"Ok", WM_COMMAND, IDOK, 1},
                                           CloseCase{"CloseBox", WM_CLOSE, 0, 2}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

struct AnswerCase {
    const char* name;
    int answer;
    bool saves;
};

class MainDialogCloseQuestion : public MainDialogClosing, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(MainDialogCloseQuestion, IsAskedInCyrillicWithYesNoCancelAndClosesAfterYesOrNo)
{
    OpenSample();
    RenameFirstSlot();
    boxes.Answer(GetParam().answer);
    Command(IDCANCEL);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    ExpectSaveQuestion(boxes.Boxes()[0]);
    EXPECT_EQ(QuitCode(), 2);
    EXPECT_EQ(ReadTable(), GetParam().saves ? SampleWithRename() : SampleTable());
}

// Enter takes the default button, which is Yes: the table is saved before the window closes.
INSTANTIATE_TEST_SUITE_P(Answers, MainDialogCloseQuestion,
                         ::testing::Values(AnswerCase{"Enter", MessageBoxAnswerer::PRESS_ENTER, true},
                                           AnswerCase{"Yes", IDYES, true}, AnswerCase{"No", IDNO, false}),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(MainDialogClosing, CancelAtTheQuestionKeepsEverythingAndClosingAsksAgain)
{
    OpenSample();
    RenameFirstSlot();
    boxes.Answer(IDCANCEL);
    Command(IDCANCEL);
    EXPECT_EQ(QuitCode(), -1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(Modified());
    EXPECT_STREQ(Record(0).slots[0], "Grassy");
    EXPECT_EQ(ReadTable(), SampleTable());

    boxes.Answer(IDNO);
    Command(IDOK);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(QuitCode(), 1);
}

// Close boxes and session ends that arrive while the question is up, each a
// WM_CLOSE that the dialog manager turns into a posted IDCANCEL.
TEST_F(MainDialogClosing, RequestsWhileTheQuestionIsUpAreIgnored)
{
    OpenSample();
    RenameFirstSlot();
    boxes.Answer(IDCANCEL, [this] {
        SendMessageA(window, WM_CLOSE, 0, 0);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
    });
    Command(IDCANCEL);
    Pump();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_TRUE(Modified());
}

TEST_F(MainDialogClosing, ChangedAmbientNumberIsAskedAboutToo)
{
    OpenSample();
    SelectTileset(0);
    TypeOver(ID_AMBIENT_EDIT, "42");
    boxes.Answer(IDYES);
    Command(IDCANCEL);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SAVE_QUESTION);
    const std::string saved = ReadTable();
    ASSERT_EQ(saved.size(), SampleTable().size());
    EXPECT_EQ(static_cast<unsigned char>(saved[5 + 32]), 42);
}

TEST_F(MainDialogClosing, SaveWithNothingChangedRewritesTheFile)
{
    // Bytes after the last entry are not part of the table, so a rewrite drops
    // them, as the load has told.
    WriteTable(SampleTable() + "trailing bytes");
    Open();
    Command(ID_SAVE_BUTTON);
    EXPECT_EQ(ReadTable(), SampleTable());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(L"drop the bytes after the last tileset"), std::wstring::npos);
}

TEST_F(MainDialogClosing, AfterSaveClosingAsksNothing)
{
    OpenSample();
    RenameFirstSlot();
    Command(ID_SAVE_BUTTON);
    EXPECT_FALSE(Modified());
    EXPECT_EQ(ReadTable(), SampleWithRename());
    Command(IDCANCEL);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(QuitCode(), 2);
}

class MainDialogFailedSave : public MainDialogClosing, public ::testing::WithParamInterface<SaveRequest> {};

// A close or the end of a session asks again later, as nothing was saved.
TEST_P(MainDialogFailedSave, IsToldAndKeepsTheFileTheEditsAndTheWindow)
{
    OpenSample();
    RenameFirstSlot();
    MakeTableReadOnly();
    const LRESULT sessionMayEnd = RequestSave(GetParam(), IDOK);
    if (GetParam() == SESSION_END) {
        EXPECT_EQ(sessionMayEnd, FALSE);
    }
    ASSERT_EQ(boxes.Boxes().size(), GetParam() == SAVE_BUTTON ? 1u : 2u);
    const MessageBoxAnswerer::Box& box = boxes.Boxes().back();
    EXPECT_EQ(box.caption, L"Kestrivane");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_NE(box.text.find(L"qx7set.dat"), std::wstring::npos);
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(QuitCode(), -1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(ReadTable(), SampleTable());

    const std::size_t told = boxes.Boxes().size();
    boxes.Answer(IDNO);
    Command(IDCANCEL);
    EXPECT_EQ(boxes.Boxes().size(), told + 1);
    EXPECT_EQ(QuitCode(), 2);
}

INSTANTIATE_TEST_SUITE_P(Requests, MainDialogFailedSave, ::testing::Values(SAVE_BUTTON, CLOSE, SESSION_END),
                         [](const ::testing::TestParamInfo<SaveRequest>& info) {
                             return std::string(info.param == SAVE_BUTTON ? "SaveButton"
                                                : info.param == CLOSE     ? "Close"
                                                                          : "SessionEnd");
                         });

TEST_F(MainDialogClosing, MissingTableIsToldOnceShownAndSaveCreatesIt)
{
    ASSERT_FALSE(TableExists());
    Open();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, L"Kestrivane");
    EXPECT_NE(boxes.Boxes()[0].text.find(L"qx7set.dat"), std::wstring::npos);
    EXPECT_EQ(TilesetRowCount(), 0);

    Command(ID_SAVE_BUTTON);
    EXPECT_EQ(ReadTable(), std::string("\x00\x97\x00\x00\x00", 5));
}

TEST_F(MainDialogClosing, RefusedTableIsToldAndNeverOverwritten)
{
    const std::string tooManySlots = Header(1, 152) + Entry("Big", 1, {"a"}, 152);
    WriteTable(tooManySlots);
    Open();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(L"152"), std::wstring::npos);
    EXPECT_EQ(TilesetRowCount(), 0);

    Command(ID_SAVE_BUTTON);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(ReadTable(), tooManySlots);
}

// The end of a Windows session, as the system announces it to a top-level
// window: first asked whether it may end, then told whether it ends.
class MainDialogSessionEnd : public MainDialogClosing {
protected:
    LRESULT QueryEndSession(LPARAM reason = 0)
    {
        const LRESULT answer = SendMessageA(window, WM_QUERYENDSESSION, 0, reason);
        Pump();
        return answer;
    }

    void EndSession(BOOL ending)
    {
        SendMessageA(window, WM_ENDSESSION, ending, 0);
        Pump();
    }
};

TEST_F(MainDialogSessionEnd, NothingUnsavedLetsTheSessionEndAtOnceAndTheWindowCloses)
{
    OpenSample();
    EXPECT_EQ(QueryEndSession(), TRUE);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(IsWindow(window));

    EndSession(TRUE);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(QuitCode(), 2);
    EXPECT_EQ(ReadTable(), SampleTable());
}

class MainDialogSessionEndAnswer : public MainDialogSessionEnd, public ::testing::WithParamInterface<AnswerCase> {};

// Once the session ends, the window closes without asking again.
TEST_P(MainDialogSessionEndAnswer, UnsavedEditsAreAskedAboutAndTheSessionEndsAfterYesOrNo)
{
    OpenSample();
    RenameFirstSlot();
    boxes.Answer(GetParam().answer);
    EXPECT_EQ(QueryEndSession(ENDSESSION_LOGOFF), TRUE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    ExpectSaveQuestion(boxes.Boxes()[0]);
    EXPECT_EQ(ReadTable(), GetParam().saves ? SampleWithRename() : SampleTable());
    EXPECT_EQ(Modified(), !GetParam().saves);
    EXPECT_TRUE(IsWindow(window));

    EndSession(TRUE);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(QuitCode(), 2);
    EXPECT_EQ(ReadTable(), GetParam().saves ? SampleWithRename() : SampleTable());
}

INSTANTIATE_TEST_SUITE_P(Answers, MainDialogSessionEndAnswer,
                         ::testing::Values(AnswerCase{"Yes", IDYES, true}, AnswerCase{"No", IDNO, false}),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(MainDialogSessionEnd, CancelRefusesTheEndAndEditingGoesOn)
{
    OpenSample();
    RenameFirstSlot();
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(QueryEndSession(), FALSE);
    EXPECT_TRUE(Modified());

    // Another program may refuse too: the session then goes on.
    EndSession(FALSE);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(QuitCode(), -1);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(ReadTable(), SampleTable());

    boxes.Answer(IDNO);
    Command(IDCANCEL);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(QuitCode(), 2);
}

void CALLBACK EndStuckLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(99);
}

// The whole chain of a key press: the loop hands it to the window's filter, the
// dialog manager turns Enter or Escape into a command, and the command ends the
// loop with its code.
class MainDialogKeys : public MainWindowTest {
protected:
    MainDialogKeys()
    {
        ScopedLock guard(appModule.lock);
        appModule.RegisterLoop(GetCurrentThreadId(), &loop);
    }
    ~MainDialogKeys() override
    {
        ScopedLock guard(appModule.lock);
        appModule.UnregisterLoop(GetCurrentThreadId());
    }

    // Runs the loop until the window ends it, or until waitMs have passed (code 99).
    int PressAndRun(HWND target, WPARAM key, UINT waitMs = 5000)
    {
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        const UINT_PTR timer = SetTimer(nullptr, 0, waitMs, EndStuckLoop);
        const int code = loop.RunUntilQuit();
        KillTimer(nullptr, timer);
        return code;
    }

    MessageLoop loop;
};

class MainDialogEnter : public MainDialogKeys, public ::testing::WithParamInterface<int> {};

TEST_P(MainDialogEnter, InFieldOrListClosesWithOne)
{
    WriteTable(SampleTable());
    Open();
    const HWND control = GetDlgItem(window, GetParam());
    SetFocus(control);
    EXPECT_EQ(PressAndRun(control, VK_RETURN), 1);
    EXPECT_FALSE(IsWindow(window));
}

INSTANTIATE_TEST_SUITE_P(EveryFieldAndList, MainDialogEnter,
                         ::testing::Values(ID_SLOT_NAME_EDIT, ID_AMBIENT_EDIT, ID_TILESET_LIST, ID_SLOT_LIST));

TEST_F(MainDialogKeys, EscapeClosesWithTwo)
{
    WriteTable(SampleTable());
    Open();
    EXPECT_EQ(PressAndRun(GetFocus(), VK_ESCAPE), 2);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainDialogKeys, EnterOnAboutReachedByTabOpensTheAboutBox)
{
    WriteTable(SampleTable());
    Open();
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, ID_ABOUT_BUTTON)), TRUE);
    EXPECT_EQ(PressAndRun(GetFocus(), VK_RETURN, 500), 99);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, L"About");
    EXPECT_EQ(boxes.Boxes()[0].owner, window);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainDialogKeys, EnterRightAfterStartUpOpensTheAboutBox)
{
    WriteTable(SampleTable());
    Open();
    ASSERT_EQ(GetFocus(), GetDlgItem(window, ID_ABOUT_BUTTON));
    EXPECT_EQ(PressAndRun(GetFocus(), VK_RETURN, 500), 99);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, L"About");
}

TEST_F(MainDialogKeys, EnterOnSaveReachedByTabSaves)
{
    WriteTable(SampleTable() + "trailing bytes");
    Open();
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, ID_SAVE_BUTTON)), TRUE);
    EXPECT_EQ(PressAndRun(GetFocus(), VK_RETURN, 500), 99);
    EXPECT_EQ(ReadTable(), SampleTable());
    EXPECT_TRUE(IsWindow(window));
}

} // namespace
