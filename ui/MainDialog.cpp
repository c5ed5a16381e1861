// The main window: a modeless, resizable dialog that lists the tilesets of the
// loaded table, shows the 151 slots of the selected one, and lets the user
// rename slots and change the tileset's ambient sound scheme number. Every
// keystroke goes straight into the table; Save writes the whole table back.
// Closing the window, or the end of the Windows session, asks first about
// edits not yet saved.
// The window keeps no selection of its own: the selected rows of the two
// lists are the record and slot indices.

#include "ui/MainDialog.h"

#include "app/AppModule.h"
#include "app/MessageLoop.h"
#include "data/FileSnapshot.h"
#include "data/TilesetFile.h"
#include "data/TilesetNameSink.h"
#include "res/ResourceIds.h"
#include "ui/AboutDialog.h"
#include "ui/CenterOver.h"
#include "ui/MainDialogResizeRules.h"
#include "ui/UnsignedDecimal.h"

#include <cstring>
#include <optional>
#include <string>

namespace {

// Posted at initialisation, so that a failed load is told once the shell has
// shown the window.
const UINT WM_APP_REPORT_LOAD = WM_APP + 1;
// Posted at initialisation, so that the start-up focus is given once more
// through the dialog manager when the shell has shown the window.
const UINT WM_APP_SETTLE_FOCUS = WM_APP + 2;

const char MESSAGE_CAPTION[] = "Kestrivane";
const char AMBIENT_TOO_LARGE[] = "Ambient number must be less than 255";
const std::uint32_t AMBIENT_LIMIT = 255;

// "Сохранить изменения?" held as UTF-16 and shown with the wide message box,
// so that it reads correctly whatever the system's ANSI code page.
const wchar_t SAVE_QUESTION[] =
    L"\u0421\u043e\u0445\u0440\u0430\u043d\u0438\u0442\u044c \u0438\u0437\u043c\u0435\u043d\u0435\u043d\u0438\u044f?";
const wchar_t SAVE_QUESTION_CAPTION[] = L"QX7005SET.DAT";

// Set while one of the window's questions is up.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag(flag) { flag = true; }
    ~ScopedFlag() { flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag;
};

// The question before a save replaces what another program did to the file.
std::string ReplaceQuestion(DiskChange change)
{
    const std::string file = std::string("the tileset file \"") + TILESET_FILE_NAME + "\"";
    switch (change) {
    case DISK_CREATED:
        return "Another program has created " + file +
               ", which was missing when Kestrivane started.\n\n"
               "Replace it with the table shown here? What that file holds will be lost.";
    case DISK_DELETED:
        return "Another program has deleted " + file +
               " since Kestrivane loaded or saved it.\n\n"
               "Write it again with the table shown here?";
    case DISK_UNCHANGED:
    case DISK_CHANGED:
    case DISK_HELD:
        break;
    }
    return "Another program has changed " + file +
           " since Kestrivane loaded or saved it.\n\n"
           "Replace it with the table shown here? The other program's changes will be lost.";
}

std::string CutOffSaveQuestion(const std::string& copyPath)
{
    return std::string("A save of the tileset file \"") + TILESET_FILE_NAME +
           "\" was cut off while it wrote into the file, which may now hold part of the new table and part of "
           "the old.\n\nThe whole table that save was writing is in \"" +
           copyPath +
           "\".\n\nOpen that table? Yes opens it as unsaved edits, which the next save writes. No opens the file "
           "as it is and deletes the copy.";
}

// Appends each tileset name, in file order, as the next row of the tileset list.
class TilesetListSink : public TilesetNameSink {
public:
    explicit TilesetListSink(HWND list) : list(list) {}
    void AddName(const char* name) override { SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name)); }

private:
    HWND list;
};

} // namespace

MainDialog::MainDialog() : DialogResizer(*this, MainDialogResizeRules)
{
}

// Handled messages report TRUE; the dispatcher routes `result` to the dialog
// manager. Everything else gets the default dialog processing.
BOOL MainDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG:
        result = HandleInitDialog();
        return TRUE;
    case WM_COMMAND:
        result = 0;
        return HandleCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_SIZE:
        result = HandleSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                            static_cast<short>(HIWORD(lParam)));
        return TRUE;
    case WM_GETMINMAXINFO:
        result = HandleGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_QUERYENDSESSION:
        result = HandleQueryEndSession();
        return TRUE;
    case WM_ENDSESSION:
        HandleEndSession(wParam != FALSE);
        result = 0;
        return TRUE;
    case WM_APP_REPORT_LOAD:
        HandleReportLoad();
        result = 0;
        return TRUE;
    case WM_APP_SETTLE_FOCUS:
        HandleSettleFocus();
        result = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

// The command table, tested in order. The About, OK and Cancel rows match any
// notification code; a command that matches no row is left to the dialog manager.
BOOL MainDialog::HandleCommand(int controlId, int notification)
{
    if (controlId == ID_ABOUT_BUTTON) {
        HandleAbout();
    } else if (controlId == IDOK) {
        RequestClose(1);
    } else if (controlId == IDCANCEL) {
        RequestClose(2);
    } else if (controlId == ID_TILESET_LIST && notification == LBN_SELCHANGE) {
        HandleTilesetSelChange();
    } else if (controlId == ID_SAVE_BUTTON && notification == BN_CLICKED) {
        HandleSave();
    } else if (controlId == ID_SLOT_LIST && notification == LBN_SELCHANGE) {
        HandleSlotSelChange();
    } else if (controlId == ID_SLOT_NAME_EDIT && notification == EN_CHANGE) {
        HandleSlotNameChange();
    } else if (controlId == ID_AMBIENT_EDIT && notification == EN_CHANGE) {
        HandleAmbientChange();
    } else {
        return FALSE;
    }
    return TRUE;
}

BOOL MainDialog::FilterMessage(MSG* msg)
{
    return IsDialogMessageA(window, msg);
}

BOOL MainDialog::HandleIdle()
{
    return FALSE;
}

BOOL MainDialog::HandleInitDialog()
{
    CenterOver(window, nullptr);
    SetIcons();
    RegisterWithLoop();
    tilesetList = GetDlgItem(window, ID_TILESET_LIST);
    slotList = GetDlgItem(window, ID_SLOT_LIST);
    Initialize(true, true, WS_CLIPCHILDREN);
    PostMessageA(window, WM_APP_SETTLE_FOCUS, 0, 0);
    LoadTable();
    table.modified = false;
    return TRUE;
}

void MainDialog::SetIcons()
{
    largeIcon.Reset(
        static_cast<HICON>(LoadImageA(appModule.instance, MAKEINTRESOURCEA(ID_APP_ICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR)));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.Get()));
    smallIcon.Reset(
        static_cast<HICON>(LoadImageA(appModule.instance, MAKEINTRESOURCEA(ID_APP_ICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
}

// The shell registers the thread's loop before it creates the window; a window
// created without one simply runs without filter and idle handler.
void MainDialog::RegisterWithLoop()
{
    MessageLoop* const loop = appModule.FindLoop(GetCurrentThreadId());
    if (loop == nullptr) {
        return;
    }
    loop->RegisterFilter(this);
    loop->RegisterIdleHandler(this);
}

void MainDialog::LoadTable()
{
    TilesetListSink sink(tilesetList);
    loadResult = TilesetFile::Load(table, sink);
    if (table.LoadFailed()) {
        // A read error part-way leaves no records behind the names listed so far.
        SendMessageA(tilesetList, LB_RESETCONTENT, 0, 0);
    }
    // A copy equal to the file is of a save cut off after its last write: it goes unasked.
    cutOffSave = TilesetFile::FindCutOffSave(TILESET_FILE_NAME);
    if (!cutOffSave) {
        TilesetFile::RemoveCutOffSave(TILESET_FILE_NAME);
    }
    if (cutOffSave || !loadResult.Succeeded() || !loadResult.Problems().empty()) {
        PostMessageA(window, WM_APP_REPORT_LOAD, 0, 0);
    }
}

// Wine gives the first tab stop its start-up focus with a plain SetFocus, so
// the About button does not become the default button and Enter turns into
// IDOK. Giving the same control the focus again through the dialog manager
// makes it the default, as Windows has already done; a window that did not
// take the focus (started without activation) is left alone.
void MainDialog::HandleSettleFocus()
{
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus)) {
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    }
}

// A file that loaded with problems is told too, with what a save will write,
// since a save would quietly repair, blank or drop what the user never saw.
void MainDialog::HandleReportLoad()
{
    if (cutOffSave && ResolveCutOffSave()) {
        return;
    }
    if (!loadResult.Succeeded()) {
        ReportFailure(loadResult);
        return;
    }
    if (loadResult.Problems().empty()) {
        return;
    }
    const int namesListed = static_cast<int>(SendMessageA(tilesetList, LB_GETCOUNT, 0, 0));
    const std::string message =
        LoadedDamageMessage(loadResult.FileName(), loadResult.Problems(), namesListed, table.RecordCount());
    MessageBoxA(window, message.c_str(), MESSAGE_CAPTION, MB_OK | MB_ICONWARNING);
}

// True when the user took the table the cut-off save was writing; No keeps
// the file as loaded, and the copy goes, as the choice is made.
bool MainDialog::ResolveCutOffSave()
{
    const CutOffSave found = std::move(*cutOffSave);
    cutOffSave.reset();
    int answer = IDNO;
    {
        const ScopedFlag question(asking);
        answer = MessageBoxA(window, CutOffSaveQuestion(found.copyPath).c_str(), MESSAGE_CAPTION,
                             MB_YESNO | MB_ICONWARNING);
    }
    if (answer != IDYES) {
        TilesetFile::RemoveCutOffSave(TILESET_FILE_NAME);
        return false;
    }
    TakeCutOffSave(found.bytes);
    return true;
}

// The table shown becomes the copy's, as unsaved edits; the file as loaded
// stays remembered, so that the save that writes the copy asks nothing.
void MainDialog::TakeCutOffSave(const std::string& bytes)
{
    TilesetTable taken;
    SendMessageA(tilesetList, LB_RESETCONTENT, 0, 0);
    SendMessageA(slotList, LB_RESETCONTENT, 0, 0);
    TilesetListSink sink(tilesetList);
    TilesetFile::Parse(bytes, TILESET_FILE_NAME, taken, sink);
    if (table.RememberedFile()) {
        taken.RememberFile(*table.RememberedFile());
    }
    taken.modified = true;
    table = std::move(taken);
}

int MainDialog::SelectedTileset() const
{
    const int t = static_cast<int>(SendMessageA(tilesetList, LB_GETCURSEL, 0, 0));
    return t >= 0 && t < table.RecordCount() ? t : -1;
}

int MainDialog::SelectedSlot() const
{
    const int k = static_cast<int>(SendMessageA(slotList, LB_GETCURSEL, 0, 0));
    return k >= 0 && k < SLOTS_PER_TILESET ? k : -1;
}

void MainDialog::HandleTilesetSelChange()
{
    const int t = SelectedTileset();
    if (t < 0) {
        return;
    }
    // Redrawing the list after each of its 302 changes made a selection take
    // over a second under Wine; it is repainted once, refilled.
    SendMessageA(slotList, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(slotList, LB_GETCOUNT, 0, 0) != 0) {
        SendMessageA(slotList, LB_DELETESTRING, 0, 0);
    }
    const TilesetRecord& record = table.RecordAt(t);
    for (const auto& slot : record.slots) {
        SendMessageA(slotList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(slot));
    }
    SendMessageA(slotList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(slotList, nullptr, TRUE);
    // No slot is selected now, so the field must show none: typing over a
    // stale text would go nowhere. Its EN_CHANGE finds no slot and changes nothing.
    SetDlgItemTextA(window, ID_SLOT_NAME_EDIT, "");
    // Raises EN_CHANGE at once, so the ambient rule below runs on the number
    // just shown: it stores it back unchanged, or rejects a stored 255.
    SetDlgItemInt(window, ID_AMBIENT_EDIT, record.ambient, FALSE);
}

void MainDialog::HandleSlotSelChange()
{
    const int t = SelectedTileset();
    const int k = SelectedSlot();
    if (t < 0 || k < 0) {
        return;
    }
    // Setting the text raises EN_CHANGE at once; the equality test in
    // HandleSlotNameChange is what keeps a selection from counting as an edit.
    SetDlgItemTextA(window, ID_SLOT_NAME_EDIT, table.RecordAt(t).slots[k]);
}

void MainDialog::HandleSlotNameChange()
{
    char text[NAME_FIELD_SIZE] = {};
    GetDlgItemTextA(window, ID_SLOT_NAME_EDIT, text, NAME_FIELD_SIZE);
    const int k = SelectedSlot();
    const int t = SelectedTileset();
    if (t < 0 || k < 0) {
        return;
    }
    char* const slot = table.RecordAt(t).slots[k];
    if (std::strcmp(text, slot) == 0) {
        return;
    }
    // Only the text and its terminator are replaced; the bytes after it are
    // kept as they stand and are written back by the save.
    std::memcpy(slot, text, std::strlen(text) + 1);
    SendMessageA(slotList, LB_DELETESTRING, k, 0);
    SendMessageA(slotList, LB_INSERTSTRING, k, reinterpret_cast<LPARAM>(text));
    SendMessageA(slotList, LB_SETCURSEL, k, 0);
    table.modified = true;
}

std::optional<std::uint32_t> MainDialog::ReadAmbientField() const
{
    const HWND field = GetDlgItem(window, ID_AMBIENT_EDIT);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    GetWindowTextA(field, &text[0], static_cast<int>(text.size()));
    return ParseUnsignedDecimal(text.c_str());
}

void MainDialog::HandleAmbientChange()
{
    const std::optional<std::uint32_t> value = ReadAmbientField();
    if (!value || *value >= AMBIENT_LIMIT) {
        MessageBoxA(window, AMBIENT_TOO_LARGE, MESSAGE_CAPTION, MB_OK | MB_ICONERROR);
        return;
    }
    const int t = SelectedTileset();
    if (t < 0) {
        return;
    }
    TilesetRecord& record = table.RecordAt(t);
    if (record.ambient != *value) {
        record.ambient = static_cast<std::uint8_t>(*value);
        table.modified = true;
    }
}

void MainDialog::HandleAbout()
{
    AboutDialog about;
    about.ShowModal(GetActiveWindow());
}

void MainDialog::HandleSave()
{
    if (asking) {
        return;
    }
    const ScopedFlag question(asking);
    SaveTable();
}

// FALSE when the user chose not to replace a file that another program
// changed, another program holds the file, or the save failed; each is told.
BOOL MainDialog::SaveTable()
{
    if (!ConfirmReplace()) {
        return FALSE;
    }
    const TilesetFileResult saved = TilesetFile::Save(table);
    if (!saved.Succeeded()) {
        ReportFailure(saved);
        return FALSE;
    }
    return TRUE;
}

// TRUE when the file on disk is still what the editor last read or wrote, or
// the user chose to replace what is there now. No is the default button, so
// that Enter never destroys another program's work; a change that lands while
// the question is up is asked about again. A file that another program holds
// open is told, not asked about: what it holds cannot be read, nor replaced.
BOOL MainDialog::ConfirmReplace()
{
    const std::optional<FileSnapshot>& remembered = table.RememberedFile();
    if (!remembered) {
        return TRUE;
    }
    std::optional<FileSnapshot> accepted;
    for (;;) {
        const FileSnapshot now = FileSnapshots::Read(TILESET_FILE_NAME);
        const DiskChange change = FileSnapshots::Compare(*remembered, now);
        if (change == DISK_HELD) {
            ReportFailure({TILESET_FILE_IN_USE, TILESET_FILE_NAME});
            return FALSE;
        }
        if (change == DISK_UNCHANGED || accepted == now) {
            return TRUE;
        }
        if (MessageBoxA(window, ReplaceQuestion(change).c_str(), MESSAGE_CAPTION,
                        MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) != IDYES) {
            return FALSE;
        }
        accepted = now;
    }
}

void MainDialog::ReportFailure(const TilesetFileResult& failure) const
{
    MessageBoxA(window, failure.Message().c_str(), MESSAGE_CAPTION, MB_OK | MB_ICONERROR);
}

// Asks about unsaved edits, then destroys the window and ends the loop with
// `code`. Cancel, or a save that failed, keeps the window open. A request that
// arrives while a question is up is ignored: the question that is up decides.
void MainDialog::RequestClose(int code)
{
    if (asking) {
        return;
    }
    const ScopedFlag question(asking);
    if (!ResolveUnsavedEdits()) {
        return;
    }
    Close(code);
}

// The result is whether the Windows session may end: unsaved edits are asked
// about as a close asks, and Cancel, or a save that failed, refuses the end;
// so does a question already up, which decides.
BOOL MainDialog::HandleQueryEndSession()
{
    if (asking) {
        return FALSE;
    }
    const ScopedFlag question(asking);
    return ResolveUnsavedEdits();
}

// The user has answered while the session was asked to end; once it ends, the
// window closes without asking again, as its close box would after No.
void MainDialog::HandleEndSession(bool ending)
{
    if (ending && !asking) {
        Close(2);
    }
}

// TRUE when nothing unsaved stands in the way: nothing was changed, the user
// chose No, or chose Yes and the save succeeded. A failed save has been told.
// Cancel, and a box that could not be shown, keep the edits.
BOOL MainDialog::ResolveUnsavedEdits()
{
    if (!table.modified) {
        return TRUE;
    }
    const int answer = MessageBoxW(window, SAVE_QUESTION, SAVE_QUESTION_CAPTION, MB_YESNOCANCEL | MB_DEFBUTTON1);
    if (answer == IDYES) {
        return SaveTable();
    }
    return answer == IDNO;
}

void MainDialog::Close(int code)
{
    DestroyWindow(window);
    PostQuitMessage(code);
}
