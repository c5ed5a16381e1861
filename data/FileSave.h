#pragma once

#include "data/TilesetFileResult.h"

#include <cstddef>
#include <functional>
#include <string>

// The points of a save that leave different files behind when it is cut off
// there; a test stops a save at one of them, as a crash would.
enum SaveStage {
    SAVE_STAGE_COPY_PART_WRITTEN,
    SAVE_STAGE_COPY_MARKED_WHOLE,
    SAVE_STAGE_IN_PLACE_PART_WRITTEN,
    SAVE_STAGE_IN_PLACE_FLUSHED,
};
using SaveStageHook = std::function<void(SaveStage stage)>;

// How a save gives the file its new bytes.
enum SaveWay {
    // Chosen from the file, as SaveFile says.
    SAVE_WAY_CHOSEN,
    // Each way whatever the file, so that tests run both on every system: under
    // Wine the replace that real Windows takes, natively the write in place.
    SAVE_WAY_REPLACE,
    SAVE_WAY_IN_PLACE,
};

struct SaveOptions {
    SaveWay way = SAVE_WAY_CHOSEN;
    // Where given, called at each stage, and the writes are split there.
    SaveStageHook reached = nullptr;
};

// Gives the file at path the new bytes, so that it is either the old file or
// the new one whenever the system can make it so. A link stays a link: the
// file it ends at gets them. Only a plain file that this user may change is
// written, or a missing one created.
//
// The bytes go first to the temporary file beside it, which has a fixed name,
// as a lock has: it is created only where no file of that name is, and held
// until the save ends, so that a second save of the same file waits a moment
// for it and then fails; a cut-off save's leftover of that name is removed.
// Where a new file can be the old one in every way other programs see, it
// takes the old file's place in one step. Otherwise (a file of several names,
// or one whose owner, group or permissions a new file cannot have) the bytes
// are written into the old file instead, once they are safely in the
// temporary file, which is first renamed to the whole copy's name and stays
// until that write is flushed: a save cut off on the way leaves it for the
// next load to offer. A replace removes an earlier save's whole copy.
TilesetFileResult SaveFile(const std::string& path, const std::string& bytes, const SaveOptions& options = {});

// The names of the temporary file and of the whole copy of the file named
// targetName: its name, shortened where the whole would pass nameLimit bytes
// (never in the middle of a UTF-8 character), and a fixed ending; empty where
// even that leaves no room.
std::string TempFileName(const std::string& targetName, std::size_t nameLimit);
std::string WholeCopyName(const std::string& targetName, std::size_t nameLimit);

// Where a save that writes into the file at targetPath keeps the whole new
// bytes until that write is flushed; empty where the folder's path leaves no
// room for the name.
std::string WholeCopyPath(const std::string& targetPath);
// Reads at most limit bytes and one more of the whole copy of targetPath, if
// one is there that no running save holds: a plain file of that name, never
// what a link of that name leads to.
bool ReadWholeCopy(const std::string& targetPath, std::size_t limit, std::string& bytes);
// Removes the whole copy of targetPath that no running save holds, if any.
void RemoveWholeCopy(const std::string& targetPath);
