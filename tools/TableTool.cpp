#include "tools/TableTool.h"

#include "data/TilesetFile.h"
#include "data/TilesetFileCheck.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"
#include "data/WholeFile.h"
#include "tools/DemoTable.h"
#include "tools/TableBuilder.h"
#include "tools/TableDiff.h"
#include "tools/TableDump.h"
#include "tools/TableJsonReader.h"
#include "tools/TableMerge.h"
#include "tools/TableTextReader.h"
#include "tools/TableToolArguments.h"

#include <filesystem>
#include <ios>
#include <ostream>
#include <system_error>

namespace {

const char PROGRAM_NAME[] = "kestrivane-table";

const char USAGE[] =
    "Usage: kestrivane-table dump [--format text|json] [FILE]\n"
    "       kestrivane-table check [FILE]\n"
    "       kestrivane-table demo FILE\n"
    "       kestrivane-table build [--format text|json] INPUT [-o FILE]\n"
    "       kestrivane-table diff A B\n"
    "       kestrivane-table merge BASE OURS THEIRS [-o FILE]\n"
    "\n"
    "  dump   prints the whole tileset table, as text or as JSON\n"
    "  check  prints every problem of the table file with its byte offset;\n"
    "         exits with 0 when the file is sound, 1 when it has problems\n"
    "  demo   writes a demo table to FILE, which must not exist yet\n"
    "  build  writes the table that the dump INPUT describes to FILE, as the\n"
    "         editor saves it; exits with 1 and writes nothing when INPUT has\n"
    "         errors, each named with its line and column\n"
    "  diff   prints each change from table A to table B on a line of its own;\n"
    "         exits with 0 when they are the same, 1 when they differ\n"
    "  merge  takes the changes from BASE to THEIRS into OURS field by field\n"
    "         and writes the result to OURS, or to FILE; exits with 1 when\n"
    "         both changed a field differently, keeping OURS's value there\n"
    "\n"
    "FILE defaults to qx7set.dat in the current folder. The exit code is 2\n"
    "when a file cannot be read or written.\n";

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
bool LoadTable(const std::string& path, TilesetTable& table, std::ostream& err)
{
    WholeFile file;
    const WholeFileOpenStatus status = file.Open(path);
    if (status != WHOLE_FILE_OPENED) {
        FileError(path, WholeFile::OpenFailure(status, file.OpenError()), err);
        return false;
    }
    IgnoredNames names;
    const TilesetFileResult result = TilesetFile::Read(file.Stream(), path, table, names);
    if (result.Status() == TILESET_FILE_READ_FAILED) {
        FileError(path, "reading failed", err);
        return false;
    }
    if (result.Status() == TILESET_FILE_TOO_MANY_SLOTS) {
        FileError(path,
                  "has " + std::to_string(result.SlotCount()) + " slots per tileset, more than the " +
                      std::to_string(SLOTS_PER_TILESET) + " a tileset holds",
                  err);
        return false;
    }
    return true;
}

// Through the editor's own save, so that a failure leaves the old file as it was.
TableToolExitCode SaveTable(const std::string& path, TilesetTable& table, TableToolExitCode code, std::ostream& out,
                            std::ostream& err)
{
    const TilesetFileResult result = TilesetFile::Save(path, table);
    if (!result.Succeeded()) {
        return FileError(path, SaveFailureReason(result), err);
    }
    return Finished(code, out, err);
}

TableToolExitCode RunDump(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    TilesetTable table;
    if (!LoadTable(arguments.files[0], table, err)) {
        return TABLE_TOOL_EXIT_FAILED;
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
    const std::string& path = arguments.files[0];
    std::string bytes;
    std::string reason;
    if (!WholeFile::Read(path, bytes, reason)) {
        return FileError(path, reason, err);
    }
    const std::vector<TilesetFileProblem> problems = TilesetFileCheck::Check(bytes);
    for (const TilesetFileProblem& problem : problems) {
        out << path << ": offset " << problem.offset << " (0x" << std::hex << std::uppercase
            << problem.offset << std::dec << std::nouppercase << "): " << problem.Description() << "\n";
    }
    return Finished(problems.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS, out, err);
}

// Never over an existing file: the demo would replace someone's table.
TableToolExitCode RunDemo(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    const std::string& path = arguments.files[0];
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (error) {
        return FileError(path, "cannot be looked up: " + error.message(), err);
    }
    if (exists) {
        return FileError(path, "already exists; demo writes only a new file", err);
    }
    TilesetTable table;
    DemoTable::Fill(table);
    return SaveTable(path, table, TABLE_TOOL_EXIT_OK, out, err);
}

// Every error of the input is told before giving up, so that one run shows them all.
TableToolExitCode RunBuild(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    const std::string& input = arguments.files[0];
    std::string text;
    std::string reason;
    if (!WholeFile::Read(input, text, reason)) {
        return FileError(input, reason, err);
    }
    TableBuilder builder;
    if (arguments.format == TABLE_DUMP_JSON) {
        TableJsonReader::Read(text, builder);
    } else {
        TableTextReader::Read(text, builder);
    }
    const std::vector<TableInputError> errors = builder.Errors();
    if (errors.empty()) {
        return SaveTable(arguments.output, builder.Table(), TABLE_TOOL_EXIT_OK, out, err);
    }
    for (const TableInputError& error : errors) {
        err << PROGRAM_NAME << ": " << error.Describe(input) << "\n";
    }
    err << PROGRAM_NAME << ": " << arguments.output << ": not written: " << input << " has " << errors.size()
        << (errors.size() == 1 ? " error\n" : " errors\n");
    return TABLE_TOOL_EXIT_PROBLEMS;
}

TableToolExitCode RunDiff(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    TilesetTable before;
    TilesetTable after;
    if (!LoadTable(arguments.files[0], before, err) || !LoadTable(arguments.files[1], after, err)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    const std::vector<std::string> lines = TableDiff::Lines(before, after);
    for (const std::string& line : lines) {
        out << line << "\n";
    }
    return Finished(lines.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS, out, err);
}

// The result is written even with conflicts: git's merge driver reads it back
// from OURS, and the conflicting fields keep OURS's values.
TableToolExitCode RunMerge(const TableToolArguments& arguments, std::ostream& out, std::ostream& err)
{
    TilesetTable base;
    TilesetTable ours;
    TilesetTable theirs;
    if (!LoadTable(arguments.files[0], base, err) || !LoadTable(arguments.files[1], ours, err) ||
        !LoadTable(arguments.files[2], theirs, err)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    TilesetTable merged;
    const std::vector<std::string> conflicts = TableMerge::Merge(base, ours, theirs, merged);
    for (const std::string& conflict : conflicts) {
        out << conflict << "\n";
    }
    return SaveTable(arguments.output, merged, conflicts.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS,
                     out, err);
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
    case TABLE_TOOL_BUILD:
        return RunBuild(arguments, out, err);
    case TABLE_TOOL_DIFF:
        return RunDiff(arguments, out, err);
    case TABLE_TOOL_MERGE:
        return RunMerge(arguments, out, err);
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
