#include "data/TilesetFileResult.h"

#include "data/FileKind.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

const char LOAD_REFUSED[] = "Nothing was loaded, and saving will not replace the file.";
const char SAVE_FAILED[] = "The file was left as it was.";

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

TilesetFileResult TilesetFileResult::ReadFailed(const FileFailure& failure, const std::string& fileName)
{
    const std::error_code error(failure.systemError, std::generic_category());
    switch (failure.kind) {
    case FILE_FAILURE_NONE:
        break;
    case FILE_FAILURE_MISSING:
        return {TILESET_FILE_NOT_FOUND, fileName};
    case FILE_FAILURE_FOLDER:
        return {TILESET_FILE_NOT_A_FILE, fileName, RefusedKindReason(FILE_KIND_FOLDER)};
    case FILE_FAILURE_OPEN:
        return {TILESET_FILE_OPEN_FAILED, fileName, SystemErrorText(error)};
    case FILE_FAILURE_READ:
        return {TILESET_FILE_READ_FAILED, fileName,
                error ? SystemErrorText(error) : "fewer bytes could be read than the file holds"};
    }
    std::abort();
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

namespace {

// What the editor's message box and the table tool say of each outcome, side
// by side. In the editor's words {file} is "The tileset file "NAME"", and the
// tool puts the file's name before its own; {reason} is the system's words,
// {: reason} the same after a colon where there are any, and {slots} the words
// for a file of too many slots; {not loaded} and {left} end a refused load
// and a failed save.
struct StatusWords {
    TilesetFileStatus status;
    const char* editor;
    const char* tool;
};

const StatusWords STATUS_WORDS[] = {
    {TILESET_FILE_LOADED, "{file} was loaded.", "was read"},
    {TILESET_FILE_SAVED, "{file} was saved.", "was written"},
    {TILESET_FILE_NOT_FOUND, "{file} was not found, so there are no tilesets to edit.", "no such file"},
    {TILESET_FILE_OPEN_FAILED, "{file} could not be opened: {reason}. {not loaded}", "cannot be opened{: reason}"},
    {TILESET_FILE_NOT_A_FILE, "{file} {reason}. {not loaded}", "{reason}"},
    {TILESET_FILE_READ_FAILED, "{file} could not be read: {reason}. {not loaded}", "reading failed"},
    {TILESET_FILE_TOO_MANY_SLOTS, "{file} {slots}. {not loaded}", "{slots}"},
    {TILESET_FILE_NOT_LOADED,
     "{file} was not saved, because its content could not be loaded and would be lost. {left}",
     "was not written, because its content could not be read"},
    {TILESET_FILE_NOT_REPLACEABLE, "{file} {reason}, so it was not saved. {left}", "could not be written{: reason}"},
    {TILESET_FILE_READ_ONLY, "{file} is read-only and was not saved. {left}",
     "could not be written: the file is read-only"},
    {TILESET_FILE_NOT_PERMITTED, "{file} was not saved, because you are not allowed to change it. {left}",
     "could not be written{: reason}"},
    {TILESET_FILE_IN_USE,
     "{file} is in use by another program and was not saved. {left} Save again once that program has closed it.",
     "could not be written: it is in use by another program"},
    {TILESET_FILE_SAVE_RUNNING,
     "{file} was not saved, because another save of it is still running, in another window or in the table "
     "tool. {left} Save again once that save has ended.",
     "could not be written: another save of it is still running"},
    {TILESET_FILE_WRITE_FAILED, "{file} could not be saved, because writing the new content failed: {reason}. {left}",
     "could not be written{: reason}"},
    {TILESET_FILE_REPLACE_FAILED, "{file} could not be saved, because it could not be replaced: {reason}. {left}",
     "could not be put in place{: reason}"},
    {TILESET_FILE_PARTLY_SAVED,
     "{file} could not be saved whole, because writing into it failed: {reason}. It may now hold part of the "
     "changes; save again to write it whole.",
     "could not be written whole{: reason}; it may hold part of the new table"},
    {TILESET_FILE_NOT_CONFIRMED,
     "{file} was saved, but the system could not confirm that the change reached the disk: {reason}. Save again "
     "to be sure.",
     "was written, but the system could not confirm that it reached the disk{: reason}"},
};

const StatusWords& WordsOf(TilesetFileStatus status)
{
    for (const StatusWords& words : STATUS_WORDS) {
        if (words.status == status) {
            return words;
        }
    }
    std::abort();
}

struct Placeholder {
    const char* name;
    std::string value;
};

} // namespace

// In one pass, so that a name or a reason that holds a placeholder's text stays as it is.
std::string TilesetFileResult::Filled(const char* words, TooManySlotsWording wording) const
{
    const Placeholder placeholders[] = {
        {"{file}", "The tileset file \"" + fileName + "\""},
        {"{: reason}", reason.empty() ? std::string() : ": " + reason},
        {"{reason}", reason},
        {"{slots}", TooManySlotsWords(wording, slotCount)},
        {"{not loaded}", LOAD_REFUSED},
        {"{left}", SAVE_FAILED},
    };
    std::string text;
    for (const char* at = words; *at != '\0';) {
        const Placeholder* const found =
            std::find_if(std::begin(placeholders), std::end(placeholders),
                         [at](const Placeholder& p) { return std::strncmp(at, p.name, std::strlen(p.name)) == 0; });
        if (found != std::end(placeholders)) {
            text += found->value;
            at += std::strlen(found->name);
        } else {
            text += *at++;
        }
    }
    return text;
}

std::string TilesetFileResult::Message() const
{
    return Filled(WordsOf(status).editor, TOO_MANY_SLOTS_EDITOR);
}

std::string TilesetFileResult::ToolWords() const
{
    return Filled(WordsOf(status).tool, TOO_MANY_SLOTS_TOOL);
}

void TilesetFileResult::SetProblems(std::vector<TilesetFileProblem> found)
{
    problems = std::move(found);
}

const std::vector<TilesetFileProblem>& TilesetFileResult::Problems() const
{
    return problems;
}
