#pragma once

#include "data/FileSave.h"
#include "data/TilesetFileResult.h"

#include <iosfwd>
#include <optional>
#include <string>

class TilesetNameSink;
class TilesetTable;

inline constexpr char TILESET_FILE_NAME[] = "qx7set.dat";

// The whole table that a save was writing into the file when it was cut off,
// in the copy that save left beside the file.
struct CutOffSave {
    std::string copyPath;
    std::string bytes;
};

// Reads the tileset table file into a table and writes a table back to it.
class TilesetFile {
public:
    // Both work on TILESET_FILE_NAME in the current directory.
    static TilesetFileResult Load(TilesetTable& table, TilesetNameSink& sink);
    static TilesetFileResult Save(TilesetTable& table);

    // Fills the empty table from the file at path and lists each name read; the
    // result holds the checker's problems of the file, and the table remembers
    // what the file held. A file that exists but cannot be taken in, or whose
    // reading fails on the way, marks the table, and a later save of it refuses.
    static TilesetFileResult Load(const std::string& path, TilesetTable& table, TilesetNameSink& sink);
    // Writes the whole table to the file that path leads to as SaveFile does,
    // and clears modified only when that succeeded. A table whose load failed
    // is not written at all.
    static TilesetFileResult Save(const std::string& path, TilesetTable& table, const SaveOptions& options = {});

    // The file format on any stream, read whole before anything is taken from
    // it, up to the largest table and a byte more. fileName is only for the
    // result. A read error, as against the end of the stream, leaves the table
    // empty and lists no name. An exception thrown by the stream's buffer counts
    // as a read error.
    static TilesetFileResult Read(std::istream& in, const std::string& fileName, TilesetTable& table,
                                  TilesetNameSink& sink);
    // The table as the load leaves it from a file's bytes, already read whole:
    // as many records as the header declares, those the bytes hold filled and
    // their names listed. fileName is only for the result.
    static TilesetFileResult Parse(const std::string& bytes, const std::string& fileName, TilesetTable& table,
                                   TilesetNameSink& sink);
    // The whole copy of a save that was cut off while writing into the file
    // that path leads to, where its bytes are not the file's; none where there
    // is no copy, a running save holds it, or the save was cut off only after
    // the file had all of it.
    static std::optional<CutOffSave> FindCutOffSave(const std::string& path);
    // Removes that copy, which a running save does not hold: the user has chosen.
    static void RemoveCutOffSave(const std::string& path);

    // Returns false when a write failed.
    static bool Write(const TilesetTable& table, std::ostream& out);
};
