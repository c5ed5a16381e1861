#include "tests/main/MainWindowTest.h"

#include "app/AppModule.h"
#include "app/PendingCreation.h"
#include "data/TilesetFile.h"
#include "res/ResourceIds.h"
#include "tests/support/FileBytes.h"
#include "tests/support/MessagePump.h"

#include <map>

namespace {

std::string CurrentFolder()
{
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

} // namespace

std::vector<std::string> SlotsOf(const std::map<int, std::string>& texts)
{
    std::vector<std::string> slots(SLOTS_PER_TILESET);
    for (const auto& text : texts) {
        slots[static_cast<std::size_t>(text.first)] = text.second;
    }
    return slots;
}

std::string SampleTable(const std::string& firstSlot)
{
    return Header(3, 151) + Entry("Grassland", 7, {firstSlot, "ABCDEFGHIJ", "", "", "", "Flowers"}, 151) +
           Entry("Desert", 255, SlotsOf({{0, "Sand"}, {150, "Cactus"}}), 151) +
           Entry("Caves", 0, {"", "", "", "Rock"}, 151);
}

MainWindowTest::MainWindowTest() : previousFolder(CurrentFolder())
{
    SetCurrentDirectoryA(folder.Path().c_str());
}

MainWindowTest::~MainWindowTest()
{
    if (dialog.Window() != nullptr) {
        DestroyWindow(dialog.Window());
    }
    DiscardMessages();
    // The folder can be removed only once it is no longer the current one.
    SetCurrentDirectoryA(previousFolder.c_str());
}

void MainWindowTest::WriteTable(const std::string& bytes) const
{
    WriteFileBytes(TILESET_FILE_NAME, bytes);
}

std::string MainWindowTest::ReadTable() const
{
    return ReadFileBytes(TILESET_FILE_NAME);
}

bool MainWindowTest::TableExists() const
{
    return GetFileAttributesA(TILESET_FILE_NAME) != INVALID_FILE_ATTRIBUTES;
}

void MainWindowTest::Open()
{
    pendingCreation.PrepareCreation(&dialog);
    window =
        CreateDialogParamA(appModule.instance, MAKEINTRESOURCEA(ID_MAIN_DIALOG), nullptr, InitialDialogProcedure, 0);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    Pump();
}

void MainWindowTest::Pump()
{
    const int code = PumpMessages(dialog.Window());
    if (code != NO_QUIT) {
        quitCode = code;
    }
}

void MainWindowTest::SelectTileset(int row)
{
    SendMessageA(Control(ID_TILESET_LIST), LB_SETCURSEL, row, 0);
    Command(ID_TILESET_LIST, LBN_SELCHANGE);
}

void MainWindowTest::SelectSlot(int row)
{
    SendMessageA(Control(ID_SLOT_LIST), LB_SETCURSEL, row, 0);
    Command(ID_SLOT_LIST, LBN_SELCHANGE);
}

void MainWindowTest::Type(int fieldId, const std::string& keys)
{
    const HWND field = Control(fieldId);
    const int end = GetWindowTextLengthA(field);
    SendMessageA(field, EM_SETSEL, end, end);
    for (const char key : keys) {
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(key), 1);
    }
}

void MainWindowTest::TypeOver(int fieldId, const std::string& keys)
{
    const HWND field = Control(fieldId);
    SendMessageA(field, EM_SETSEL, 0, -1);
    for (const char key : keys) {
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(key), 1);
    }
}

void MainWindowTest::Backspace(int fieldId)
{
    const HWND field = Control(fieldId);
    const int end = GetWindowTextLengthA(field);
    SendMessageA(field, EM_SETSEL, end, end);
    SendMessageA(field, WM_CHAR, VK_BACK, 1);
}

void MainWindowTest::Paste(int fieldId, const std::string& text)
{
    SetDlgItemTextA(window, fieldId, text.c_str());
}

void MainWindowTest::Command(int controlId, int notification)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(controlId, notification),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, controlId)));
    Pump();
}

LRESULT MainWindowTest::RequestSave(SaveRequest request, int answer)
{
    if (request != SAVE_BUTTON) {
        boxes.Answer(IDYES);
    }
    boxes.Answer(answer);
    if (request == SESSION_END) {
        const LRESULT reply = SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
        Pump();
        return reply;
    }
    Command(request == CLOSE ? IDCANCEL : ID_SAVE_BUTTON);
    return TRUE;
}

std::string MainWindowTest::FieldText(int fieldId) const
{
    const HWND field = Control(fieldId);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    GetWindowTextA(field, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

std::string MainWindowTest::SlotRow(int row) const
{
    char text[256] = {};
    SendMessageA(Control(ID_SLOT_LIST), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
}

int MainWindowTest::SlotRowCount() const
{
    return static_cast<int>(SendMessageA(Control(ID_SLOT_LIST), LB_GETCOUNT, 0, 0));
}

int MainWindowTest::TilesetRowCount() const
{
    return static_cast<int>(SendMessageA(Control(ID_TILESET_LIST), LB_GETCOUNT, 0, 0));
}

std::string MainWindowTest::TilesetRow(int row) const
{
    char text[256] = {};
    SendMessageA(Control(ID_TILESET_LIST), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
}
