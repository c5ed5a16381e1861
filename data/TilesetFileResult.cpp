#include "data/TilesetFileResult.h"

#include <cstdlib>
#include <utility>

namespace {

const char* const LOAD_REFUSED = " Nothing was loaded, and saving will not replace the file.";
const char* const SAVE_FAILED = " The file was left as it was.";

// System texts come with trailing line breaks or a full stop of their own.
std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

} // namespace

TilesetFileResult::TilesetFileResult(TilesetFileStatus status, std::string fileName, std::string reason,
                                     uint32_t slotCount)
    : status(status), fileName(std::move(fileName)), reason(Trimmed(std::move(reason))), slotCount(slotCount)
{
}

bool TilesetFileResult::Succeeded() const
{
    return status == TILESET_FILE_LOADED || status == TILESET_FILE_SAVED;
}

bool TilesetFileResult::FileNotFound() const
{
    return status == TILESET_FILE_NOT_FOUND;
}

TilesetFileStatus TilesetFileResult::Status() const
{
    return status;
}

const std::string& TilesetFileResult::FileName() const
{
    return fileName;
}

const std::string& TilesetFileResult::Reason() const
{
    return reason;
}

uint32_t TilesetFileResult::SlotCount() const
{
    return slotCount;
}

std::string TilesetFileResult::QuotedName() const
{
    return "The tileset file \"" + fileName + "\"";
}

std::string TilesetFileResult::Message() const
{
    switch (status) {
    case TILESET_FILE_LOADED:
        return QuotedName() + " was loaded.";
    case TILESET_FILE_SAVED:
        return QuotedName() + " was saved.";
    case TILESET_FILE_NOT_FOUND:
        return QuotedName() + " was not found, so there are no tilesets to edit.";
    case TILESET_FILE_OPEN_FAILED:
        return QuotedName() + " could not be opened: " + reason + "." + LOAD_REFUSED;
    case TILESET_FILE_NOT_A_FILE:
        return QuotedName() + " " + reason + "." + LOAD_REFUSED;
    case TILESET_FILE_READ_FAILED:
        return QuotedName() + " could not be read: " + reason + "." + LOAD_REFUSED;
    case TILESET_FILE_TOO_MANY_SLOTS:
        return QuotedName() + " " + TooManySlotsWords(TOO_MANY_SLOTS_EDITOR, slotCount) + "." + LOAD_REFUSED;
    case TILESET_FILE_NOT_LOADED:
        return QuotedName() + " was not saved, because its content could not be loaded and would be lost." +
               SAVE_FAILED;
    case TILESET_FILE_NOT_REPLACEABLE:
        return QuotedName() + " " + reason + ", so it was not saved." + SAVE_FAILED;
    case TILESET_FILE_READ_ONLY:
        return QuotedName() + " is read-only and was not saved." + SAVE_FAILED;
    case TILESET_FILE_NOT_PERMITTED:
        return QuotedName() + " was not saved, because you are not allowed to change it." + SAVE_FAILED;
    case TILESET_FILE_IN_USE:
        return QuotedName() + " is in use by another program and was not saved." + SAVE_FAILED +
               " Save again once that program has closed it.";
    case TILESET_FILE_WRITE_FAILED:
        return QuotedName() + " could not be saved, because writing the new content failed: " + reason + "." +
               SAVE_FAILED;
    case TILESET_FILE_REPLACE_FAILED:
        return QuotedName() + " could not be saved, because it could not be replaced: " + reason + "." + SAVE_FAILED;
    case TILESET_FILE_PARTLY_SAVED:
        return QuotedName() + " could not be saved whole, because writing into it failed: " + reason +
               ". It may now hold part of the changes; save again to write it whole.";
    case TILESET_FILE_NOT_CONFIRMED:
        return QuotedName() +
               " was saved, but the system could not confirm that the change reached the disk: " + reason +
               ". Save again to be sure.";
    }
    std::abort();
}

void TilesetFileResult::SetProblems(std::vector<TilesetFileProblem> found)
{
    problems = std::move(found);
}

const std::vector<TilesetFileProblem>& TilesetFileResult::Problems() const
{
    return problems;
}
