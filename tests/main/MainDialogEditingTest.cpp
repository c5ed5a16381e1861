// The editing rules of the main window: selections, slot renames and ambient
// numbers, on a real window created from the real template.

#include "tests/main/MainWindowTest.h"

#include "res/ResourceIds.h"

#include <cstring>
#include <string>

namespace {

const std::wstring AMBIENT_REJECTION = L"Ambient number must be less than 255";

// The sample table as a load with no window takes it in.
TilesetTable LoadedSample()
{
    TilesetTable table;
    NameList names;
    ReadBytes(SampleTable(), table, names);
    return table;
}

class MainDialogEditing : public MainWindowTest {
protected:
    void SetUp() override
    {
        WriteTable(SampleTable());
        Open();
    }
};

TEST_F(MainDialogEditing, StartsWithTilesetsListedAndNothingSelected)
{
    ASSERT_EQ(TilesetRowCount(), 3);
    EXPECT_EQ(TilesetRow(0), "Grassland");
    EXPECT_EQ(TilesetRow(1), "Desert");
    EXPECT_EQ(TilesetRow(2), "Caves");
    EXPECT_EQ(SendDlgItemMessageA(window, ID_TILESET_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SlotRowCount(), 0);
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), "");
    EXPECT_EQ(FieldText(ID_AMBIENT_EDIT), "");
    EXPECT_FALSE(Modified());
    EXPECT_EQ(GetFocus(), GetDlgItem(window, ID_ABOUT_BUTTON));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainDialogEditing, SelectingTilesetFills151RowsAndShowsItsAmbientNumber)
{
    SelectTileset(0);
    ASSERT_EQ(SlotRowCount(), 151);
    EXPECT_EQ(SlotRow(0), "Grass");
    EXPECT_EQ(SlotRow(1), "ABCDEFGHIJ");
    EXPECT_EQ(SlotRow(2), "");
    EXPECT_EQ(SlotRow(5), "Flowers");
    EXPECT_EQ(SlotRow(150), "");
    EXPECT_EQ(SendDlgItemMessageA(window, ID_SLOT_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(FieldText(ID_AMBIENT_EDIT), "7");

    SelectTileset(2);
    ASSERT_EQ(SlotRowCount(), 151);
    EXPECT_EQ(SlotRow(0), "");
    EXPECT_EQ(SlotRow(3), "Rock");
    EXPECT_EQ(FieldText(ID_AMBIENT_EDIT), "0");
    EXPECT_FALSE(Modified());
}

TEST_F(MainDialogEditing, StoredAmbient255IsShownThenRejectedAndKept)
{
    SelectTileset(1);
    EXPECT_EQ(FieldText(ID_AMBIENT_EDIT), "255");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, AMBIENT_REJECTION);
    EXPECT_EQ(boxes.Boxes()[0].caption, L"Kestrivane");
    EXPECT_EQ(boxes.Boxes()[0].owner, window);
    EXPECT_EQ(Record(1).ambient, 255);
    EXPECT_FALSE(Modified());
}

// Typing over a stale slot text would look like an edit and go nowhere.
TEST_F(MainDialogEditing, SlotNameFieldIsEmptiedWhenAnotherTilesetIsSelected)
{
    SelectTileset(0);
    SelectSlot(5);
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), "Flowers");
    SelectTileset(2);
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), "");
    EXPECT_EQ(SendDlgItemMessageA(window, ID_SLOT_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_STREQ(Record(2).slots[5], "");
    EXPECT_FALSE(Modified());

    SelectSlot(3);
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), "Rock");
    Type(ID_SLOT_NAME_EDIT, "s");
    EXPECT_STREQ(Record(2).slots[3], "Rocks");
    EXPECT_STREQ(Record(0).slots[5], "Flowers");
}

TEST_F(MainDialogEditing, SelectingOrReselectingSlotLeavesModifiedClear)
{
    SelectTileset(0);
    SelectSlot(0);
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), "Grass");
    SelectSlot(0);
    SelectSlot(2);
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), "");
    EXPECT_FALSE(Modified());
}

TEST_F(MainDialogEditing, TypingRenamesSlotAndItsRowAndSetsModified)
{
    SelectTileset(0);
    SelectSlot(0);
    Type(ID_SLOT_NAME_EDIT, "y");
    EXPECT_STREQ(Record(0).slots[0], "Grassy");
    EXPECT_EQ(SlotRow(0), "Grassy");
    EXPECT_EQ(SlotRowCount(), 151);
    EXPECT_EQ(SendDlgItemMessageA(window, ID_SLOT_LIST, LB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(Modified());
}

TEST_F(MainDialogEditing, OnlyTheFirst31CharactersCount)
{
    const std::string thirtyOne(31, 'w');
    SelectTileset(2);
    SelectSlot(4);
    Type(ID_SLOT_NAME_EDIT, thirtyOne);
    ASSERT_STREQ(Record(2).slots[4], thirtyOne.c_str());
    const_cast<TilesetTable&>(dialog.Table()).modified = false;

    Type(ID_SLOT_NAME_EDIT, "xyz");
    EXPECT_EQ(FieldText(ID_SLOT_NAME_EDIT), thirtyOne + "xyz");
    EXPECT_STREQ(Record(2).slots[4], thirtyOne.c_str());
    EXPECT_EQ(SlotRow(4), thirtyOne);
    EXPECT_FALSE(Modified());
}

TEST_F(MainDialogEditing, ChangingOnlyLetterCaseIsAChange)
{
    SelectTileset(0);
    SelectSlot(0);
    SendDlgItemMessageA(window, ID_SLOT_NAME_EDIT, EM_SETSEL, 0, 1);
    SendDlgItemMessageA(window, ID_SLOT_NAME_EDIT, WM_CHAR, 'g', 1);
    EXPECT_STREQ(Record(0).slots[0], "grass");
    EXPECT_EQ(SlotRow(0), "grass");
    EXPECT_TRUE(Modified());
}

TEST_F(MainDialogEditing, RetypingTheLastCharacterRestoresTextButStaysModified)
{
    SelectTileset(0);
    SelectSlot(0);
    Backspace(ID_SLOT_NAME_EDIT);
    EXPECT_STREQ(Record(0).slots[0], "Gras");
    Type(ID_SLOT_NAME_EDIT, "s");
    EXPECT_STREQ(Record(0).slots[0], "Grass");
    EXPECT_TRUE(Modified());
}

TEST_F(MainDialogEditing, ShorterNameKeepsTheOldTailBytesAndSaveWritesThem)
{
    SelectTileset(0);
    SelectSlot(1);
    TypeOver(ID_SLOT_NAME_EDIT, "vwxyz");
    const char expected[NAME_FIELD_SIZE] = {'v', 'w', 'x', 'y', 'z', '\0', 'G', 'H', 'I', 'J', '\0'};
    EXPECT_EQ(std::memcmp(Record(0).slots[1], expected, NAME_FIELD_SIZE), 0);
    EXPECT_EQ(SlotRow(1), "vwxyz");

    Command(ID_SAVE_BUTTON);
    const std::string saved = ReadTable();
    const std::size_t slotOffset = 5 + 33 + 32 * 1;
    ASSERT_GE(saved.size(), slotOffset + 32);
    EXPECT_EQ(saved.substr(slotOffset, 32), std::string(expected, NAME_FIELD_SIZE));
}

TEST_F(MainDialogEditing, EveryIntermediateAmbientNumberIsStoredAsTyped)
{
    SelectTileset(0);
    TypeOver(ID_AMBIENT_EDIT, "3");
    EXPECT_EQ(Record(0).ambient, 3);
    Type(ID_AMBIENT_EDIT, "0");
    EXPECT_EQ(Record(0).ambient, 30);
    EXPECT_TRUE(boxes.Boxes().empty());
    Type(ID_AMBIENT_EDIT, "0");
    EXPECT_EQ(Record(0).ambient, 30);
    EXPECT_EQ(FieldText(ID_AMBIENT_EDIT), "300");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, AMBIENT_REJECTION);
}

TEST_F(MainDialogEditing, EmptiedAmbientFieldStoresZero)
{
    SelectTileset(0);
    Backspace(ID_AMBIENT_EDIT);
    EXPECT_EQ(FieldText(ID_AMBIENT_EDIT), "");
    EXPECT_EQ(Record(0).ambient, 0);
}

// A paste gets past ES_NUMBER, which stops only typed non-digits: whatever is
// not digits alone, or a number beyond 32 bits, is rejected as 300 is, and the
// stored number kept; leading zeros are a number.
TEST_F(MainDialogEditing, PastedAmbientTextOtherThanANumberIsRejectedAndTheNumberKept)
{
    const std::string tenThousandOnes(10240, '1');
    const struct {
        const char* pasted;
        int stored;
        bool modified;
        std::size_t rejections;
    } steps[] = {
        {"7", 7, false, 0},   {"12", 12, true, 0},         {"7x", 12, true, 1},
        {"abc", 12, true, 2}, {"-1", 12, true, 3},         {" 7", 12, true, 4},
        {"13 ", 12, true, 5}, {"4294967303", 12, true, 6}, {tenThousandOnes.c_str(), 12, true, 7},
        {"300", 12, true, 8}, {"007", 7, true, 8},
    };
    SelectTileset(0);
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.pasted).substr(0, 12));
        Paste(ID_AMBIENT_EDIT, step.pasted);
        EXPECT_EQ(Record(0).ambient, step.stored);
        EXPECT_EQ(Modified(), step.modified);
        ASSERT_EQ(boxes.Boxes().size(), step.rejections);
        if (step.rejections > 0) {
            EXPECT_EQ(boxes.Boxes().back().text, AMBIENT_REJECTION);
        }
    }
}

TEST_F(MainDialogEditing, AmbientChangeSetsModifiedButShowingTheSameNumberDoesNot)
{
    SelectTileset(0);
    SelectTileset(2);
    EXPECT_FALSE(Modified());
    TypeOver(ID_AMBIENT_EDIT, "0");
    EXPECT_FALSE(Modified());
    TypeOver(ID_AMBIENT_EDIT, "9");
    EXPECT_EQ(Record(2).ambient, 9);
    EXPECT_TRUE(Modified());
}

TEST_F(MainDialogEditing, EditsWithoutSelectedTilesetChangeNothing)
{
    Type(ID_SLOT_NAME_EDIT, "Lava");
    Type(ID_AMBIENT_EDIT, "12");
    EXPECT_EQ(SlotRowCount(), 0);
    const TilesetTable loaded = LoadedSample();
    for (int t = 0; t < loaded.RecordCount(); ++t) {
        EXPECT_EQ(std::memcmp(&Record(t), &loaded.RecordAt(t), sizeof(TilesetRecord)), 0) << "record " << t;
    }
    EXPECT_FALSE(Modified());

    TypeOver(ID_AMBIENT_EDIT, "345");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, AMBIENT_REJECTION);
}

TEST_F(MainDialogEditing, SlotEditWithoutSelectedSlotChangesNoSlotAndAddsNoRow)
{
    SelectTileset(0);
    Type(ID_SLOT_NAME_EDIT, "Lava");
    EXPECT_EQ(SlotRowCount(), 151);
    EXPECT_STREQ(Record(0).slots[0], "Grass");
    EXPECT_FALSE(Modified());
    EXPECT_EQ(ReadTable(), SampleTable());
}

} // namespace
