#include "tools/TableTool.h"

#include "data/TilesetFileCheck.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DemoTable.h"
#include "tools/TableBuilder.h"
#include "tools/TableComparison.h"
#include "tools/TableCsv.h"
#include "tools/TableJson.h"
#include "tools/TableText.h"
#include "tools/TableToolArguments.h"
#include "tools/TableView.h"
#include "tools/ToolFiles.h"

#include <filesystem>
#include <ios>
#include <ostream>
#include <sstream>
#include <system_error>

namespace {

const char PROGRAM_NAME[] = "kestrivane-table";

const char USAGE[] = "Usage: kestrivane-table dump [--format text|json|csv] [--code-page N] [FILE]\n"
                     "       kestrivane-table dump --textconv [--code-page N] [FILE]\n"
                     "       kestrivane-table check [FILE]\n"
                     "       kestrivane-table demo FILE\n"
                     "       kestrivane-table build [--format text|json|csv] [--code-page N] INPUT [-o FILE]\n"
                     "       kestrivane-table diff [--code-page N] A B\n"
                     "       kestrivane-table merge [--code-page N] BASE OURS THEIRS [-o FILE]\n"
                     "       kestrivane-table view [--code-page N] [--base BASE] [FILE] [-o PAGE]\n"
                     "\n"
                     "  dump   prints the whole tileset table, as text, JSON or CSV; with\n"
                     "         --textconv (for git) it prints the problems and what can be\n"
                     "         shown of any file, and exits with 0\n"
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
                     "  view   writes one HTML page of the whole table to PAGE (standard output\n"
                     "         without -o), with a search; with --base, each field that differs\n"
                     "         from BASE is marked with its old value\n"
                     "\n"
                     "--code-page N writes and reads the texts in UTF-8, each byte as its\n"
                     "character in the Windows code page N (874, 1250 to 1258; 1251 for\n"
                     "Cyrillic, 1252 for Western European); without it, every byte outside\n"
                     "printable ASCII is an escape.\n"
                     "\n"
                     "FILE defaults to qx7set.dat in the current folder; - is standard input\n"
                     "or output (./- is a file of that name). An option's value may follow it\n"
                     "as the next word or after =, as in --code-page=1251. The exit code is 2\n"
                     "when a file cannot be read or written.\n";

// Several times the largest dump (about 9 MB as JSON, every slot full of
// escaped bytes), so that no dump is refused, and small enough that any
// input is read in bounded time and memory.
const std::size_t BUILD_INPUT_LIMIT = 32 * 1024 * 1024;

TableToolExitCode Failed(const std::string& shown, const std::string& reason, std::ostream& err)
{
    err << PROGRAM_NAME << ": " << shown << ": " << reason << "\n";
    return TABLE_TOOL_EXIT_FAILED;
}

TableToolExitCode FileError(const std::string& name, const std::string& reason, std::ostream& err)
{
    return Failed(ToolFiles::Shown(name), reason, err);
}

TableToolExitCode OutputError(const std::string& name, const std::string& reason, std::ostream& err)
{
    return Failed(ToolFiles::ShownOutput(name), reason, err);
}

// Results are worth nothing to a script if they were cut short on the way out.
TableToolExitCode Finished(TableToolExitCode code, std::ostream& out, std::ostream& err)
{
    if (!out.flush()) {
        err << PROGRAM_NAME << ": writing to standard output failed\n";
        return TABLE_TOOL_EXIT_FAILED;
    }
    return code;
}

// shown: how errors name the table where its name alone would not do.
bool LoadTable(const std::string& name, TilesetTable& table, const ToolStreams& streams, const std::string& shown = {})
{
    std::string reason;
    if (!ToolFiles::Load(name, streams.in, table, reason)) {
        Failed(shown.empty() ? ToolFiles::Shown(name) : shown, reason, streams.err);
        return false;
    }
    return true;
}

// A merge's tables are told by their role first: git gives the driver
// temporary names, such as .merge_file_VSlcxK, that say nothing of the side.
std::string Side(const char* role, const std::string& name)
{
    return std::string(role) + " (" + ToolFiles::Shown(name) + ")";
}

TableToolExitCode WriteTable(const std::string& name, TilesetTable& table, TableToolExitCode code,
                             const ToolStreams& streams)
{
    std::string reason;
    if (!ToolFiles::Write(name, table, streams.out, reason)) {
        return OutputError(name, reason, streams.err);
    }
    return Finished(code, streams.out, streams.err);
}

std::vector<TilesetFileProblem> Problems(const std::string& bytes, const WholeFileRead& read)
{
    return TilesetFileCheck::Check(bytes, read.FileSize(bytes.size()));
}

std::string ProblemLine(const std::string& where, const TilesetFileProblem& problem)
{
    std::ostringstream line;
    line << where << ": offset " << problem.offset << " (0x" << std::hex << std::uppercase << problem.offset
         << "): " << problem.Description() << "\n";
    return line.str();
}

// For git: whatever the file holds, the command gives text and succeeds, as a
// failed conversion makes git give up the whole diff, log or show.
TableToolExitCode RunTextconv(const std::string& name, const CodePageTable* page, const ToolStreams& streams)
{
    std::string bytes;
    std::string reason;
    const WholeFileRead read = ToolFiles::Read(name, TilesetFileFormat::LARGEST_FILE_SIZE, streams.in, bytes, reason);
    if (!read.read) {
        streams.out << "the table cannot be read: " << reason << "\n";
        return Finished(TABLE_TOOL_EXIT_OK, streams.out, streams.err);
    }
    for (const TilesetFileProblem& problem : Problems(bytes, read)) {
        streams.out << ProblemLine("problem", problem);
    }
    TilesetTable table;
    if (ToolFiles::TableFromBytes(bytes, table, reason)) {
        TableText::Write(table, page, streams.out);
    } else {
        TableText::WriteEntries(bytes, page, streams.out);
    }
    return Finished(TABLE_TOOL_EXIT_OK, streams.out, streams.err);
}

// JSON and CSV have characters only: a byte that the code page leaves
// undefined has no form there, and is refused rather than written as some
// other character.
TableToolExitCode RunDump(const TableToolArguments& arguments, const ToolStreams& streams)
{
    const std::string& name = arguments.files[0];
    const CodePageTable* const page = arguments.codePage;
    if (arguments.textconv) {
        return RunTextconv(name, page, streams);
    }
    TilesetTable table;
    if (!LoadTable(name, table, streams)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    if (arguments.format == TABLE_DUMP_TEXT) {
        TableText::Write(table, page, streams.out);
        return Finished(TABLE_TOOL_EXIT_OK, streams.out, streams.err);
    }
    if (page != nullptr) {
        const std::string unheld = TableJson::ByteWithoutCharacter(table, *page);
        if (!unheld.empty()) {
            return FileError(name,
                             unheld + " has no character in code page " + std::to_string(page->number) + ", and " +
                                 (arguments.format == TABLE_DUMP_CSV ? "CSV" : "JSON") +
                                 " has no escape for a byte; the text dump writes such bytes as \\xNN",
                             streams.err);
        }
    }
    if (arguments.format == TABLE_DUMP_CSV) {
        TableCsv::Write(table, page, streams.out);
    } else {
        TableJson::Write(table, page, streams.out);
    }
    return Finished(TABLE_TOOL_EXIT_OK, streams.out, streams.err);
}

TableToolExitCode RunCheck(const TableToolArguments& arguments, const ToolStreams& streams)
{
    const std::string& name = arguments.files[0];
    std::string bytes;
    std::string reason;
    const WholeFileRead read = ToolFiles::Read(name, TilesetFileFormat::LARGEST_FILE_SIZE, streams.in, bytes, reason);
    if (!read.read) {
        return FileError(name, reason, streams.err);
    }
    const std::vector<TilesetFileProblem> problems = Problems(bytes, read);
    for (const TilesetFileProblem& problem : problems) {
        streams.out << ProblemLine(ToolFiles::Shown(name), problem);
    }
    return Finished(problems.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS, streams.out, streams.err);
}

// Never over an existing file: the demo would replace someone's table.
TableToolExitCode RunDemo(const TableToolArguments& arguments, const ToolStreams& streams)
{
    const std::string& name = arguments.files[0];
    const std::string refusal = ToolFiles::Refusal(name);
    if (!refusal.empty()) {
        return OutputError(name, refusal, streams.err);
    }
    std::error_code error;
    const bool exists = !ToolFiles::IsStandardStream(name) && std::filesystem::exists(name, error);
    if (error) {
        return OutputError(name, "cannot be looked up: " + error.message(), streams.err);
    }
    if (exists) {
        return OutputError(name, "already exists; demo writes only a new file", streams.err);
    }
    TilesetTable table;
    DemoTable::Fill(table);
    return WriteTable(name, table, TABLE_TOOL_EXIT_OK, streams);
}

// The first errors are told in the order of the input, then how many more there are.
TableToolExitCode BuildErrors(const TableToolArguments& arguments, const TableBuilder& builder,
                              const ToolStreams& streams)
{
    const std::string input = ToolFiles::Shown(arguments.files[0]);
    for (const TableInputError& error : builder.Errors()) {
        streams.err << PROGRAM_NAME << ": " << error.Describe(input) << "\n";
    }
    const uint64_t count = builder.ErrorCount();
    const uint64_t untold = count - builder.Errors().size();
    if (untold != 0) {
        streams.err << PROGRAM_NAME << ": " << input << ": " << untold
                    << (untold == 1 ? " more error" : " more errors") << " after these\n";
    }
    streams.err << PROGRAM_NAME << ": " << ToolFiles::ShownOutput(arguments.output) << ": not written: " << input
                << " has " << count << (count == 1 ? " error\n" : " errors\n");
    return TABLE_TOOL_EXIT_PROBLEMS;
}

// Every error of the input is found before giving up, so that one run shows them all.
TableToolExitCode RunBuild(const TableToolArguments& arguments, const ToolStreams& streams)
{
    const std::string& input = arguments.files[0];
    std::string text;
    std::string reason;
    const WholeFileRead read = ToolFiles::Read(input, BUILD_INPUT_LIMIT, streams.in, text, reason);
    if (!read.read) {
        return FileError(input, reason, streams.err);
    }
    if (read.goesOn) {
        return FileError(input,
                         "is larger than the " + std::to_string(BUILD_INPUT_LIMIT) +
                             " bytes that build reads; a dump of the largest table is about a quarter of that",
                         streams.err);
    }
    TableBuilder builder;
    if (arguments.format == TABLE_DUMP_JSON) {
        TableJson::Read(text, arguments.codePage, builder);
    } else if (arguments.format == TABLE_DUMP_CSV) {
        TableCsv::Read(text, arguments.codePage, builder);
    } else {
        TableText::Read(text, arguments.codePage, builder);
    }
    if (builder.ErrorCount() != 0) {
        return BuildErrors(arguments, builder, streams);
    }
    return WriteTable(arguments.output, builder.Table(), TABLE_TOOL_EXIT_OK, streams);
}

TableToolExitCode RunDiff(const TableToolArguments& arguments, const ToolStreams& streams)
{
    TilesetTable before;
    TilesetTable after;
    if (!LoadTable(arguments.files[0], before, streams) || !LoadTable(arguments.files[1], after, streams)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    const std::vector<std::string> lines = TableComparison::Differences(before, after, arguments.codePage);
    for (const std::string& line : lines) {
        streams.out << line << "\n";
    }
    return Finished(lines.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS, streams.out, streams.err);
}

// The result is written even with conflicts: git's merge driver reads it back
// from OURS, and the conflicting fields keep OURS's values. Written to standard
// output, it leaves that to the table: the conflicts go to the errors then.
TableToolExitCode RunMerge(const TableToolArguments& arguments, const ToolStreams& streams)
{
    TilesetTable base;
    TilesetTable ours;
    TilesetTable theirs;
    const std::vector<std::string>& files = arguments.files;
    if (!LoadTable(files[0], base, streams, Side("BASE", files[0])) ||
        !LoadTable(files[1], ours, streams, Side("OURS", files[1])) ||
        !LoadTable(files[2], theirs, streams, Side("THEIRS", files[2]))) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    TilesetTable merged;
    const std::vector<std::string> conflicts = TableComparison::Merge(base, ours, theirs, arguments.codePage, merged);
    std::ostream& told = ToolFiles::IsStandardStream(arguments.output) ? streams.err : streams.out;
    for (const std::string& conflict : conflicts) {
        told << conflict << "\n";
    }
    return WriteTable(arguments.output, merged, conflicts.empty() ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS,
                      streams);
}

// The page's problems are the file's own, as check finds them; nothing is
// written unless both tables load.
TableToolExitCode RunView(const TableToolArguments& arguments, const ToolStreams& streams)
{
    const std::string& name = arguments.files[0];
    std::string bytes;
    std::string reason;
    const WholeFileRead read = ToolFiles::Read(name, TilesetFileFormat::LARGEST_FILE_SIZE, streams.in, bytes, reason);
    if (!read.read) {
        return FileError(name, reason, streams.err);
    }
    TilesetTable table;
    if (!ToolFiles::TableFromBytes(bytes, table, reason)) {
        return FileError(name, reason, streams.err);
    }
    TilesetTable base;
    const bool compared = !arguments.base.empty();
    if (compared && !LoadTable(arguments.base, base, streams)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    TableViewSource source{table,
                           ToolFiles::Shown(name),
                           {},
                           compared ? &base : nullptr,
                           ToolFiles::Shown(arguments.base),
                           arguments.codePage};
    for (const TilesetFileProblem& problem : Problems(bytes, read)) {
        std::string line = ProblemLine(source.name, problem);
        line.pop_back();
        source.problems.push_back(line);
    }
    if (!ToolFiles::WriteText(arguments.output, TableView::Page(source), streams.out, reason)) {
        return FileError(arguments.output, reason, streams.err);
    }
    return Finished(TABLE_TOOL_EXIT_OK, streams.out, streams.err);
}

} // namespace

TableToolExitCode TableTool::Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                                 std::ostream& err)
{
    const TableToolArguments arguments = TableToolArguments::Parse(args);
    const ToolStreams streams{in, out, err};
    switch (arguments.command) {
    case TABLE_TOOL_DUMP:
        return RunDump(arguments, streams);
    case TABLE_TOOL_CHECK:
        return RunCheck(arguments, streams);
    case TABLE_TOOL_DEMO:
        return RunDemo(arguments, streams);
    case TABLE_TOOL_BUILD:
        return RunBuild(arguments, streams);
    case TABLE_TOOL_DIFF:
        return RunDiff(arguments, streams);
    case TABLE_TOOL_MERGE:
        return RunMerge(arguments, streams);
    case TABLE_TOOL_VIEW:
        return RunView(arguments, streams);
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
