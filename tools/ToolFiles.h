#pragma once

#include "data/WholeFile.h"

#include <cstddef>
#include <iosfwd>
#include <string>

class TilesetTable;

// Where the tool's commands read and write: the standard streams, which stand
// for the file named "-" (a file of that name is ./-), and its own output.
struct ToolStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// The files that the table tool reads and writes: named ones, or the standard
// streams for "-". On failure each says why in a few words, for the caller to
// tell with the file's name.
namespace ToolFiles {

// The name that stands for standard input or standard output.
inline constexpr char STANDARD_STREAM[] = "-";

bool IsStandardStream(const std::string& name);
// How messages name a file read, "standard input" for "-", and one written,
// "standard output": every other byte as the dump escapes it, so that no name
// reaches the terminal raw.
std::string Shown(const std::string& name);
std::string ShownOutput(const std::string& name);
// Why the file is neither read nor written, in the words the editor uses, for
// a folder, a socket or a loop of links; else empty. A pipe or a device is
// read and written as the stream it is.
std::string Refusal(const std::string& name);

// Where a save was cut off while writing into the named table: the problem,
// naming the whole copy that save left beside it; else empty.
std::string CutOffSaveProblem(const std::string& name);

// At most limit bytes of the file, and one more where it goes on; reason says
// why where it could not be read.
WholeFileRead Read(const std::string& name, std::size_t limit, std::istream& in, std::string& bytes,
                   std::string& reason);
// The table as the editor loads it from the file's bytes: cut-off entries
// stay as empty tilesets; a file with more slots than a tileset holds is refused.
bool TableFromBytes(const std::string& bytes, TilesetTable& table, std::string& reason);
// Reads the file, at most as much as a table holds and one byte more, into the table.
bool Load(const std::string& name, std::istream& in, TilesetTable& table, std::string& reason);
// Writes the table's file to "-" (standard output), to a pipe or a device as
// the stream it is, or else through the editor's own save, which leaves the
// old file as it was when it fails. A table that a cut-off save left a whole
// copy of is not written over until the user has chosen between the two.
bool Write(const std::string& name, TilesetTable& table, std::ostream& out, std::string& reason);
// Writes text, such as a patch, to "-", a pipe or a device, or else in place
// of the file in one step, as the editor's save replaces a table.
bool WriteText(const std::string& name, const std::string& text, std::ostream& out, std::string& reason);

} // namespace ToolFiles
