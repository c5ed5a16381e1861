#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/DialogWindow.h"
#include "app/IdleHandler.h"
#include "app/MessageFilter.h"
#include "data/TilesetFile.h"
#include "data/TilesetFileResult.h"
#include "data/TilesetTable.h"
#include "ui/DialogResizer.h"
#include "ui/ScopedIcon.h"

// The editor's one top-level window: the tileset list, the slots of the
// selected tileset and the two fields that edit them.
class MainDialog : public DialogWindow, public MessageFilter, public IdleHandler, public DialogResizer {
public:
    MainDialog();

    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL FilterMessage(MSG* msg) override;
    BOOL HandleIdle() override;

    const TilesetTable& Table() const { return table; }

private:
    BOOL HandleInitDialog();
    BOOL HandleCommand(int controlId, int notification);
    void HandleTilesetSelChange();
    void HandleSlotSelChange();
    void HandleSlotNameChange();
    void HandleAmbientChange();
    void HandleAbout();
    void HandleSave();
    void HandleReportLoad();
    bool ResolveCutOffSave();
    void TakeCutOffSave(const std::string& bytes);
    void HandleSettleFocus();
    BOOL HandleQueryEndSession();
    void HandleEndSession(bool ending);
    void RequestClose(int code);
    BOOL ResolveUnsavedEdits();
    void Close(int code);

    void SetIcons();
    void RegisterWithLoop();
    void LoadTable();
    BOOL SaveTable();
    BOOL ConfirmReplace();
    void ReportFailure(const TilesetFileResult& failure) const;
    int SelectedTileset() const;
    int SelectedSlot() const;
    // None for a text that is not a whole number of 32 bits; 0 for an empty field.
    std::optional<std::uint32_t> ReadAmbientField() const;

    TilesetTable table;
    HWND tilesetList = nullptr;
    HWND slotList = nullptr;
    TilesetFileResult loadResult{TILESET_FILE_LOADED, {}};
    // Found at the load, until the user has chosen between it and the file.
    std::optional<CutOffSave> cutOffSave;
    ScopedIcon largeIcon;
    ScopedIcon smallIcon;
    // True while a question or a save is in progress; see RequestClose.
    bool asking = false;
};
