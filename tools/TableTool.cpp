#include "tools/TableTool.h"

#include "data/TilesetFileCheck.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DemoTable.h"
#include "tools/InputErrorList.h"
#include "tools/LoadOrder.h"
#include "tools/RecordField.h"
#include "tools/TableBuilder.h"
#include "tools/TableComparison.h"
#include "tools/TableCsv.h"
#include "tools/TableJson.h"
#include "tools/TablePatch.h"
#include "tools/TableText.h"
#include "tools/TableToolArguments.h"
#include "tools/TableView.h"
#include "tools/ToolFiles.h"

#include <algorithm>
#include <filesystem>
#include <ios>
#include <optional>
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
                     "       kestrivane-table merge [--code-page N] BASE OURS THEIRS [THEIRS...] [-o FILE]\n"
                     "       kestrivane-table patch [--code-page N] BASE CHANGED [-o PATCH]\n"
                     "       kestrivane-table apply [--check] [--reverse] [--code-page N] [-t TABLE] [-o FILE]\n"
                     "                              PATCH...\n"
                     "       kestrivane-table view [--code-page N] [--base BASE] [FILE] [-o PAGE]\n"
                     "\n"
                     "  dump   prints the whole tileset table, as text, JSON or CSV; with\n"
                     "         --textconv (for git) it prints the problems and what can be\n"
                     "         shown of any file, and exits with 0\n"
                     "  check  prints every problem of the table file with its byte offset,\n"
                     "         and a save that was cut off while writing into it; exits with 0\n"
                     "         when the file is sound, 1 when it has problems\n"
                     "  demo   writes a demo table to FILE, which must not exist yet\n"
                     "  build  writes the table that the dump INPUT describes to FILE, as the\n"
                     "         editor saves it; exits with 1 and writes nothing when INPUT has\n"
                     "         errors, each named with its line and column\n"
                     "  diff   prints each change from table A to table B on a line of its own;\n"
                     "         exits with 0 when they are the same, 1 when they differ\n"
                     "  merge  takes the changes from BASE to THEIRS into OURS field by field\n"
                     "         and writes the result to OURS, or to FILE; exits with 1 when\n"
                     "         both changed a field differently, keeping OURS's value there;\n"
                     "         several THEIRS are taken in turn, the earlier ones winning\n"
                     "  patch  writes the patch of the fields that changed from BASE to CHANGED,\n"
                     "         as text, to standard output or to PATCH\n"
                     "  apply  applies the patches in the order given (a load order, the later\n"
                     "         one winning) onto TABLE (qx7set.dat) and writes it back, or to\n"
                     "         FILE; lists each line that overrides an earlier patch, conflicts\n"
                     "         or is not found; exits with 1 for a conflict or a line not found,\n"
                     "         2 when a patch is not well formed; --reverse removes the\n"
                     "         patches, --check only tells what they would do\n"
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

// OURS, then THEIRS, or THEIRS 1, THEIRS 2 ... where several are merged.
std::string MergeRole(std::size_t table, std::size_t theirsCount)
{
    if (table == 0) {
        return "OURS";
    }
    return theirsCount == 1 ? "THEIRS" : "THEIRS " + std::to_string(table);
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
    const std::string cutOff = ToolFiles::CutOffSaveProblem(name);
    if (!cutOff.empty()) {
        streams.out << "problem: " << cutOff << "\n";
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
    const std::string cutOff = ToolFiles::CutOffSaveProblem(name);
    if (!cutOff.empty()) {
        streams.out << ToolFiles::Shown(name) << ": " << cutOff << "\n";
    }
    const bool sound = problems.empty() && cutOff.empty();
    return Finished(sound ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS, streams.out, streams.err);
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
void TellInputErrors(const std::string& inputName, const std::string& output, const InputErrorList& errors,
                     std::ostream& err)
{
    const std::string input = ToolFiles::Shown(inputName);
    for (const TableInputError& error : errors.Told()) {
        err << PROGRAM_NAME << ": " << error.Describe(input) << "\n";
    }
    const uint64_t count = errors.Total();
    const uint64_t untold = count - errors.Told().size();
    if (untold != 0) {
        err << PROGRAM_NAME << ": " << input << ": " << untold << (untold == 1 ? " more error" : " more errors")
            << " after these\n";
    }
    err << PROGRAM_NAME << ": " << ToolFiles::ShownOutput(output) << ": not written: " << input << " has " << count
        << (count == 1 ? " error\n" : " errors\n");
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
        TellInputErrors(input, arguments.output, builder.ErrorList(), streams.err);
        return TABLE_TOOL_EXIT_PROBLEMS;
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

void Tell(const std::vector<std::string>& lines, std::ostream& out)
{
    for (const std::string& line : lines) {
        out << line << "\n";
    }
}

// Several THEIRS are merged one after another, each conflict naming the
// tables its values come from. A THEIRS of another count stops the merge as
// with one.
std::vector<std::string> MergeSeveral(const TableToolArguments& arguments, const TilesetTable& base,
                                      const std::vector<TilesetTable>& tables, TilesetTable& merged)
{
    std::vector<std::string> names;
    std::vector<int> counts = {base.RecordCount()};
    for (std::size_t k = 0; k < tables.size(); ++k) {
        names.push_back(ToolFiles::Shown(arguments.files[k + 1]));
        counts.push_back(tables[k].RecordCount());
    }
    merged = tables[0];
    if (std::count(counts.begin(), counts.end(), base.RecordCount()) != static_cast<std::ptrdiff_t>(counts.size())) {
        return {TableComparison::CountConflict(names, counts)};
    }
    std::vector<std::string> conflicts;
    std::vector<int> sources;
    for (std::size_t k = 1; k < tables.size(); ++k) {
        const std::vector<std::string> more = TableComparison::MergeNext(base, tables[k], static_cast<int>(k), names,
                                                                         arguments.codePage, merged, sources);
        conflicts.insert(conflicts.end(), more.begin(), more.end());
    }
    return conflicts;
}

// The result is written even with conflicts: git's merge driver reads it back
// from OURS, and the conflicting fields keep OURS's values. Written to standard
// output, it leaves that to the table: the conflicts go to the errors then.
TableToolExitCode RunMerge(const TableToolArguments& arguments, const ToolStreams& streams)
{
    TilesetTable base;
    const std::vector<std::string>& files = arguments.files;
    std::vector<TilesetTable> tables(files.size() - 1);
    if (!LoadTable(files[0], base, streams, Side("BASE", files[0]))) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    for (std::size_t k = 0; k < tables.size(); ++k) {
        if (!LoadTable(files[k + 1], tables[k], streams,
                       Side(MergeRole(k, tables.size() - 1).c_str(), files[k + 1]))) {
            return TABLE_TOOL_EXIT_FAILED;
        }
    }
    TilesetTable merged;
    const std::vector<std::string> conflicts =
        tables.size() == 2 ? TableComparison::Merge(base, tables[0], tables[1], arguments.codePage, merged)
                           : MergeSeveral(arguments, base, tables, merged);
    Tell(conflicts, ToolFiles::IsStandardStream(arguments.output) ? streams.err : streams.out);
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

// A patch names each tileset by its index: after a change of count that may
// no longer be the same tileset, so there is no patch.
TableToolExitCode RunPatch(const TableToolArguments& arguments, const ToolStreams& streams)
{
    TilesetTable base;
    TilesetTable changed;
    if (!LoadTable(arguments.files[0], base, streams) || !LoadTable(arguments.files[1], changed, streams)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    if (base.RecordCount() != changed.RecordCount()) {
        return FileError(arguments.files[1],
                         "holds " + std::to_string(changed.RecordCount()) + " tilesets and " +
                             ToolFiles::Shown(arguments.files[0]) + " " + std::to_string(base.RecordCount()) +
                             ": a patch changes fields of the tilesets that both tables have, so tables of "
                             "different counts have no patch",
                         streams.err);
    }
    std::string reason;
    if (!ToolFiles::WriteText(arguments.output, TablePatch::Between(base, changed, arguments.codePage), streams.out,
                              reason)) {
        return FileError(arguments.output, reason, streams.err);
    }
    return Finished(TABLE_TOOL_EXIT_OK, streams.out, streams.err);
}

// The patches of one apply: their texts, and the lines of those read once
// and kept.
struct RunPatches {
    std::vector<std::string> texts;
    std::vector<std::optional<TablePatch>> kept;
};

// As many lines as two patches of every field of the largest table: the
// patches of a run are kept while their lines fit, and the others are read
// again when their turn comes, so that a run of any patches takes bounded memory.
const std::size_t KEPT_LINES = 2 * MAX_TILESET_COUNT * RecordField::COUNT;

// All the patches of one run together are read within the limit that build
// reads, so that any command line is read in bounded time and memory.
bool ReadPatches(const TableToolArguments& arguments, const ToolStreams& streams, RunPatches& patches)
{
    std::size_t left = BUILD_INPUT_LIMIT;
    for (const std::string& name : arguments.files) {
        std::string& text = patches.texts.emplace_back();
        std::string reason;
        const WholeFileRead read = ToolFiles::Read(name, left, streams.in, text, reason);
        if (!read.read) {
            FileError(name, reason, streams.err);
            return false;
        }
        if (read.goesOn) {
            FileError(name,
                      "goes beyond the " + std::to_string(BUILD_INPUT_LIMIT) +
                          " bytes that apply reads of all its patches together",
                      streams.err);
            return false;
        }
        left -= text.size();
    }
    return true;
}

// Every error of every patch is told before giving up; nothing is written then.
bool WellFormed(const TableToolArguments& arguments, RunPatches& patches, std::ostream& err)
{
    bool wellFormed = true;
    std::size_t keptLines = 0;
    for (std::size_t k = 0; k < patches.texts.size(); ++k) {
        InputErrorList errors;
        TablePatch patch = TablePatch::Read(patches.texts[k], arguments.codePage, errors);
        if (errors.Total() != 0) {
            TellInputErrors(arguments.files[k], arguments.output, errors, err);
            wellFormed = false;
        }
        keptLines += patch.lines.size();
        patches.kept.emplace_back();
        if (keptLines <= KEPT_LINES) {
            patches.kept.back() = std::move(patch);
        }
    }
    return wellFormed;
}

// use(patch) with patch k, kept or read again.
template <typename Use>
void WithPatch(const TableToolArguments& arguments, const RunPatches& patches, std::size_t k, const Use& use)
{
    if (patches.kept[k].has_value()) {
        use(*patches.kept[k]);
        return;
    }
    InputErrorList unused;
    use(TablePatch::Read(patches.texts[k], arguments.codePage, unused));
}

std::vector<std::size_t> RunOrder(const TableToolArguments& arguments)
{
    std::vector<std::size_t> order(arguments.files.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        order[k] = arguments.reverse ? order.size() - 1 - k : k;
    }
    return order;
}

// Reversed, each line also looks for the name its tileset has after the whole
// load order, which every patch's renames decide.
LoadOrder StartRun(const TableToolArguments& arguments, const RunPatches& patches, TilesetTable& table)
{
    LoadOrder run(table, arguments.reverse);
    if (arguments.reverse) {
        for (const std::size_t k : RunOrder(arguments)) {
            WithPatch(arguments, patches, k, [&run](const TablePatch& patch) { run.TraceRenames(patch); });
        }
    }
    return run;
}

// Applies the patches in the run's order, listing to listed where not null;
// the counts of each in turn go to counted(k, counts).
template <typename Counted>
void ApplyAll(const TableToolArguments& arguments, const RunPatches& patches, LoadOrder& run, std::ostream* listed,
              const Counted& counted)
{
    for (const std::size_t k : RunOrder(arguments)) {
        WithPatch(arguments, patches, k, [&](const TablePatch& patch) {
            counted(k, run.Apply(patch, ToolFiles::Shown(arguments.files[k]), listed));
        });
    }
}

// --check: for each patch, what its lines would do, before the lines listed.
void TellCounts(const TableToolArguments& arguments, const RunPatches& patches, const TilesetTable& table,
                std::ostream& out)
{
    TilesetTable scratch = table;
    LoadOrder run = StartRun(arguments, patches, scratch);
    ApplyAll(arguments, patches, run, nullptr, [&](std::size_t k, const PatchCounts& counts) {
        out << ToolFiles::Shown(arguments.files[k]) << ": " << counts.of[PATCH_APPLIES] << " apply, "
            << counts.of[PATCH_ALREADY_APPLIED] << " already applied, " << counts.of[PATCH_OVERRIDES] << " override, "
            << counts.of[PATCH_CONFLICT] << " conflict, " << counts.of[PATCH_NOT_APPLIED] << " do not apply\n";
    });
}

// The table is written even where lines conflict or do not apply, with the
// rest applied, as a load order is installed; not when nothing changed in it.
TableToolExitCode RunApply(const TableToolArguments& arguments, const ToolStreams& streams)
{
    TilesetTable table;
    RunPatches patches;
    if (!LoadTable(arguments.table, table, streams) || !ReadPatches(arguments, streams, patches) ||
        !WellFormed(arguments, patches, streams.err)) {
        return TABLE_TOOL_EXIT_FAILED;
    }
    std::ostream& listed =
        !arguments.check && ToolFiles::IsStandardStream(arguments.output) ? streams.err : streams.out;
    if (arguments.check) {
        TellCounts(arguments, patches, table, listed);
    }
    LoadOrder run = StartRun(arguments, patches, table);
    uint64_t unapplied = 0;
    ApplyAll(arguments, patches, run, &listed, [&unapplied](std::size_t, const PatchCounts& counts) {
        unapplied += counts.of[PATCH_CONFLICT] + counts.of[PATCH_NOT_APPLIED];
    });
    const TableToolExitCode code = unapplied == 0 ? TABLE_TOOL_EXIT_OK : TABLE_TOOL_EXIT_PROBLEMS;
    const bool sameFile = arguments.output == arguments.table && !ToolFiles::IsStandardStream(arguments.output);
    if (arguments.check || (sameFile && !run.Changed())) {
        return Finished(code, streams.out, streams.err);
    }
    return WriteTable(arguments.output, table, code, streams);
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
    case TABLE_TOOL_PATCH:
        return RunPatch(arguments, streams);
    case TABLE_TOOL_APPLY:
        return RunApply(arguments, streams);
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
