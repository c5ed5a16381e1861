// What the main window does when another program wrote, created or deleted the
// table file since the window loaded or saved it, and what it tells at the load
// of a file that is not as the editor writes it.

#include "tests/main/MainWindowTest.h"

#include "data/ScopedFileHandle.h"
#include "data/TilesetFileCheck.h"
#include "res/ResourceIds.h"
#include "tests/support/FileBytes.h"

#include <memory>

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// A program that holds the file open, sharing nothing, for longer than a save waits.
enum OtherProgram { CHANGES_THE_FILE, CREATES_THE_FILE, DELETES_THE_FILE, HOLDS_THE_FILE };

struct DiskChangeCase {
    const char* name;
    OtherProgram other;
    SaveRequest request;
    int answer;
    // The word of the question that says what happened.
    const char* told;
};

class MainDialogDiskChange : public MainWindowTest, public ::testing::WithParamInterface<DiskChangeCase> {
protected:
    // Opens the window on the sample table, or on no file, and renames slot 0
    // of the first tileset where there is one.
    void OpenAndEdit(OtherProgram other)
    {
        if (other != CREATES_THE_FILE) {
            WriteTable(SampleTable());
        }
        Open();
        boxes.Clear();
        if (other != CREATES_THE_FILE) {
            SelectTileset(0);
            SelectSlot(0);
            Type(ID_SLOT_NAME_EDIT, "y");
        }
    }

    void ActAsOtherProgram(OtherProgram other)
    {
        if (other == DELETES_THE_FILE) {
            DeleteFileA("qx7set.dat");
        } else if (other == HOLDS_THE_FILE) {
            hold = std::make_unique<ScopedFileHandle>(
                CreateFileA("qx7set.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(hold->IsOpen());
        } else {
            WriteTable(OtherProgramsTable(other));
        }
    }

    static std::string OtherProgramsTable(OtherProgram other)
    {
        return other == HOLDS_THE_FILE ? SampleTable() : SampleTable("Theirs");
    }

    std::unique_ptr<ScopedFileHandle> hold;
};

TEST_P(MainDialogDiskChange, SaveAsksBeforeReplacingAndNoKeepsTheirFileAndTheEdits)
{
    const DiskChangeCase& c = GetParam();
    OpenAndEdit(c.other);
    ActAsOtherProgram(c.other);
    const LRESULT sessionMayEnd = RequestSave(c.request, c.answer);
    hold.reset();
    ASSERT_EQ(boxes.Boxes().size(), c.request == SAVE_BUTTON ? 1u : 2u);
    const MessageBoxAnswerer::Box& box = boxes.Boxes().back();
    EXPECT_EQ(box.caption, L"Kestrivane");
    EXPECT_EQ(box.owner, window);
    EXPECT_NE(Narrow(box.text).find(c.told), std::string::npos) << Narrow(box.text);
    if (c.answer == IDYES) {
        EXPECT_EQ(ReadTable(),
                  c.other == CREATES_THE_FILE ? std::string("\x00\x97\x00\x00\x00", 5) : SampleTable("Grassy"));
        EXPECT_FALSE(Modified());
        return;
    }
    EXPECT_EQ(ReadTable(), OtherProgramsTable(c.other));
    EXPECT_TRUE(Modified());
    if (c.request == SESSION_END) {
        EXPECT_EQ(sessionMayEnd, FALSE);
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(QuitCode(), -1);
}

// Enter takes the default button, which must be No; No itself is the same
// refusal, met after Yes to a close and to the end of a session.
INSTANTIATE_TEST_SUITE_P(
    Table, MainDialogDiskChange,
    ::testing::Values(
        DiskChangeCase{"ChangedYes", CHANGES_THE_FILE, SAVE_BUTTON, IDYES, "changed"},
        DiskChangeCase{"ChangedEnter", CHANGES_THE_FILE, SAVE_BUTTON, MessageBoxAnswerer::PRESS_ENTER, "changed"},
        DiskChangeCase{"CreatedYes", CREATES_THE_FILE, SAVE_BUTTON, IDYES, "created"},
        DiskChangeCase{"DeletedYes", DELETES_THE_FILE, SAVE_BUTTON, IDYES, "deleted"},
        DiskChangeCase{"NoAfterYesToTheCloseQuestion", CHANGES_THE_FILE, CLOSE, IDNO, "changed"},
        DiskChangeCase{"NoAfterYesAtTheEndOfASession", CHANGES_THE_FILE, SESSION_END, IDNO, "changed"},
        DiskChangeCase{"HeldIsToldAsInUse", HOLDS_THE_FILE, SAVE_BUTTON, IDOK, "is in use by another program"}),
    [](const ::testing::TestParamInfo<DiskChangeCase>& info) { return info.param.name; });

class MainDialogReplaceQuestion : public MainDialogDiskChange {};

TEST_F(MainDialogReplaceQuestion, OwnSavesNeverAskAndAChangeIsAskedAboutAtEverySaveUntilReplaced)
{
    OpenAndEdit(CHANGES_THE_FILE);
    Command(ID_SAVE_BUTTON);
    Type(ID_SLOT_NAME_EDIT, "z");
    Command(ID_SAVE_BUTTON);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(ReadTable(), SampleTable("Grassyz"));

    ActAsOtherProgram(CHANGES_THE_FILE);
    boxes.Answer(IDNO);
    Command(ID_SAVE_BUTTON);
    boxes.Answer(IDYES);
    Command(ID_SAVE_BUTTON);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(ReadTable(), SampleTable("Grassyz"));
}

TEST_F(MainDialogReplaceQuestion, ChangeWhileTheQuestionIsUpIsAskedAboutAgain)
{
    OpenAndEdit(CHANGES_THE_FILE);
    ActAsOtherProgram(CHANGES_THE_FILE);
    boxes.Answer(IDYES, [this] { WriteTable(SampleTable("Later")); });
    boxes.Answer(IDNO);
    Command(ID_SAVE_BUTTON);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(ReadTable(), SampleTable("Later"));
    EXPECT_TRUE(Modified());
}

// A file that is not as the editor writes it loads as before, and the window
// tells the checker's problems and what a save will write.
struct DamagedFileCase {
    const char* name;
    std::string bytes;
    const char* saveWrites;
};

class MainDialogDamagedFile : public MainWindowTest, public ::testing::WithParamInterface<DamagedFileCase> {};

TEST_P(MainDialogDamagedFile, IsToldOnceWithItsProblemsAndWhatASaveWrites)
{
    WriteTable(GetParam().bytes);
    Open();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const std::string text = Narrow(boxes.Boxes()[0].text);
    EXPECT_EQ(boxes.Boxes()[0].owner, window);
    EXPECT_TRUE(boxes.Boxes()[0].hasIcon);
    for (const TilesetFileProblem& problem : TilesetFileCheck::Check(GetParam().bytes)) {
        EXPECT_NE(text.find(problem.Description()), std::string::npos) << text;
    }
    EXPECT_NE(text.find(GetParam().saveWrites), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MainDialogDamagedFile,
    ::testing::Values(DamagedFileCase{"CutShort", SampleTable().substr(0, HEADER_BYTES + SAVED_ENTRY_BYTES + 40),
                                      "write tileset 2 blank"},
                      DamagedFileCase{"CutAfterAnEntry", SampleTable().substr(0, HEADER_BYTES + SAVED_ENTRY_BYTES),
                                      "write tilesets 1 and 2 blank"},
                      DamagedFileCase{"TrailingBytes", SampleTable() + std::string(120, 'x'),
                                      "drop the bytes after the last tileset"},
                      DamagedFileCase{"Empty", "", "write a table without tilesets"},
                      DamagedFileCase{"ThreeBytes", std::string("\x02\x97\x00", 3), "write tilesets 0 and 1 blank"}),
    [](const ::testing::TestParamInfo<DamagedFileCase>& info) { return info.param.name; });

// A whole copy that a cut-off save left beside the table: the load asks which
// table to open. Yes takes the copy as unsaved edits, which the next save
// writes, and the copy goes with that save; No keeps the file and removes the
// copy. A copy equal to the file goes unasked, and one that a running save
// holds (open without delete sharing) is none of a cut-off save.
struct CutOffSaveCase {
    const char* name;
    const char* copysSlot;
    bool held;
    int answer;
};

class MainDialogCutOffSave : public MainWindowTest, public ::testing::WithParamInterface<CutOffSaveCase> {};

TEST_P(MainDialogCutOffSave, LoadAsksWhichTableToOpenAndTheChoiceHolds)
{
    const CutOffSaveCase& c = GetParam();
    const char copyName[] = "qx7set.dat.whole";
    WriteTable(SampleTable());
    WriteFileBytes(copyName, SampleTable(c.copysSlot));
    const ScopedFileHandle hold(c.held ? CreateFileA(copyName, GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                       : INVALID_HANDLE_VALUE);
    boxes.Answer(c.answer);
    Open();
    const bool asked = !c.held && std::string(c.copysSlot) != "Grass";
    ASSERT_EQ(boxes.Boxes().size(), asked ? 1u : 0u);
    if (asked) {
        const MessageBoxAnswerer::Box& box = boxes.Boxes()[0];
        EXPECT_EQ(box.caption, L"Kestrivane");
        EXPECT_EQ(box.owner, window);
        EXPECT_TRUE(box.hasIcon);
        EXPECT_NE(Narrow(box.text).find(std::string("\\") + copyName + "\"."), std::string::npos) << Narrow(box.text);
    }
    const bool taken = asked && c.answer == IDYES;
    EXPECT_EQ(Modified(), taken);
    EXPECT_EQ(std::string(Record(0).slots[0]), taken ? c.copysSlot : "Grass");
    EXPECT_EQ(GetFileAttributesA(copyName) != INVALID_FILE_ATTRIBUTES, taken || c.held);
    if (taken) {
        Command(ID_SAVE_BUTTON);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(ReadTable(), SampleTable(c.copysSlot));
        EXPECT_FALSE(Modified());
        EXPECT_EQ(GetFileAttributesA(copyName), INVALID_FILE_ATTRIBUTES);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MainDialogCutOffSave,
                         ::testing::Values(CutOffSaveCase{"DifferentYes", "Whole", false, IDYES},
                                           CutOffSaveCase{"DifferentNo", "Whole", false, IDNO},
                                           CutOffSaveCase{"EqualGoesUnasked", "Grass", false, IDYES},
                                           CutOffSaveCase{"HeldByARunningSave", "Whole", true, IDYES}),
                         [](const ::testing::TestParamInfo<CutOffSaveCase>& info) { return info.param.name; });

} // namespace
