#include "tools/TableTool.h"

#include "data/TilesetFile.h"
#include "data/TilesetFileCheck.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "tools/DemoTable.h"
#include "tools/TableDump.h"
#include "tools/TableToolArguments.h"
#include "tools/WholeFile.h"

#include <filesystem>
#include <ios>
#include <ostream>
#include <sstream>
#include <system_error>

namespace {

const char PROGRAM_NAME[] = "kestrivane-table";

const char USAGE[] =
    "Usage: kestrivane-table dump [--format text|json] [FILE]\n"
    "       kestrivane-table check [FILE]\n"
    "       kestrivane-table demo FILE\n"
    "\n"
    "  dump   prints the whole tileset table, as text or as JSON\n"
    "  check  prints every problem of the table file with its byte offset;\n"
    "         exits with 0 when the file is sound, 1 when it has problems\n"
    "         and 2 when it cannot be read\n"
    "  demo   writes a demo table to FILE, which must not exist yet\n"
    "\n"
    "FILE defaults to qx7set.dat in the current folder.\n";

class IgnoredNames : public TilesetNameSink {
public:
    void AddName(const char*) override {}
};

TableToolExitCode FileError(const std::string& path, const std::string& reason, std::ostream& err)
{
    err << PROGRAM_NAME << ": " << path << ": " << reason << "\n";
    return TABLE_TOOL_EXIT_FAILED;
}

// Results are worth nothing to a script if they were cut short on the way out.
TableToolExitCode Finished(TableToolExitCode code, std::ostream& out, std::ostream& err)
{
    if (!out.flush()) {
        err << PROGRAM_NAME << ": writing the output failed\n";
        return TABLE_TOOL_EXIT_FAILED;
    }
    return code;
}

std::string SaveFailureReason(const TilesetFileResult& result)
{
    const std::string failure =
        result.Status() == TILESET_FILE_REPLACE_FAILED ? "could not be put in place" : "could not be written";
    return result.Reason().empty() ? failure : failure + ": " + result.Reason();
}

// The table as the editor would load it: cut-off entries stay as empty tilesets.
TableToolExitCode RunDump(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    std::string bytes;
    std::string reason;
    if (!WholeFile::Read(arguments.path, bytes, reason)) {
        return FileError(arguments.path, reason, err);
    }
    std::istringstream in(bytes);
    TilesetTable table;
    IgnoredNames names;
    const TilesetFileResult result = TilesetFile::Read(in, arguments.path, table, names);
    if (result.Status() == TILESET_FILE_TOO_MANY_SLOTS) {
        return FileError(arguments.path,
                         "has " + std::to_string(result.SlotCount()) + " slots per tileset, more than the " +
                             std::to_string(SLOTS_PER_TILESET) + " a tileset holds",
                         err);
    }
    if (arguments.format == TABLE_DUMP_JSON) {
        TableDump::WriteJson(table, out);
    } else {
        TableDump::WriteText(table, out);
    }
    return Finished(TABLE_TOOL_EXIT_OK, out, err);
}

TableToolExitCode RunCheck(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    std::string bytes;
    std::string reason;
    if (!WholeFile::Read(arguments.path, bytes, reason)) {
        return FileError(arguments.path, reason, err);
    }
    const std::vector<TilesetFileProblem> problems = TilesetFileCheck::Check(bytes);
    for (const TilesetFileProblem& problem : problems) {
        out << arguments.path << ": offset " << problem.Offset() << " (0x" << std::hex << std::uppercase
            << problem.Offset() << std::dec << std::nouppercase << "): " << problem.Description() << "\n";
    }
    return Finished(problems.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS, out, err);
}

// Never over an existing file: the demo would replace someone's table.
TableToolExitCode RunDemo(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    std::error_code error;
    const bool exists = std::filesystem::exists(arguments.path, error);
    if (error) {
        return FileError(arguments.path, "cannot be looked up: " + error.message(), err);
    }
    if (exists) {
        return FileError(arguments.path, "already exists; demo writes only a new file", err);
    }
    TilesetTable table;
    DemoTable::Fill(table);
    const TilesetFileResult result = TilesetFile::Save(arguments.path, table);
    if (!result.Succeeded()) {
        return FileError(arguments.path, SaveFailureReason(result), err);
    }
    return Finished(TABLE_TOOL_EXIT_OK, out, err);
}

} // namespace

TableToolExitCode TableTool::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const TableToolArguments arguments = TableToolArguments::Parse(args);
    switch (arguments.command) {
    case TABLE_TOOL_DUMP:
        return RunDump(arguments, out, err);
    case TABLE_TOOL_CHECK:
        return RunCheck(arguments, out, err);
    case TABLE_TOOL_DEMO:
        return RunDemo(arguments, out, err);
    case TABLE_TOOL_HELP:
        out << USAGE;
        return Finished(TABLE_TOOL_EXIT_OK, out, err);
    case TABLE_TOOL_USAGE_ERROR:
        break;
    }
    err << PROGRAM_NAME << ": " << arguments.error << "\n\n" << USAGE;
    return TABLE_TOOL_EXIT_FAILED;
}

const char* TableTool::Usage()
{
    return USAGE;
}
