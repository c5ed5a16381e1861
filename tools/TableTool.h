#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// What the tool's process returns.
enum TableToolExitCode {
    TABLE_TOOL_EXIT_OK = 0,
    // check found problems in the file, build errors in its input, diff
    // differences, merge conflicts.
    TABLE_TOOL_EXIT_PROBLEMS = 1,
    // The file could not be read or written, or the command line was not understood.
    TABLE_TOOL_EXIT_FAILED = 2,
};

// kestrivane-table: dumps, checks, builds, compares and merges tileset table
// files from scripts.
namespace TableTool {

// args are the words after the program's name. A file named "-" is read from
// in, or written to out. Results go to out; errors and the usage go to err,
// each error naming the file and the reason.
TableToolExitCode Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
const char* Usage();

} // namespace TableTool
