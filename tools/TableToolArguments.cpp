#include "tools/TableToolArguments.h"

#include "data/TilesetFile.h"
#include "tools/DumpQuoting.h"
#include "tools/ToolFiles.h"

#include <algorithm>

#include <cstddef>

namespace {

const char FORMAT_OPTION[] = "--format";
const char OUTPUT_OPTION[] = "-o";
const char TEXTCONV_OPTION[] = "--textconv";

// What each command takes.
struct CommandForm {
    const char* name;
    TableToolCommand command;
    std::size_t fewestFiles;
    std::size_t mostFiles;
    bool takesFormat;
    bool takesOutput;
    bool takesTextconv;
    // Said when too few or too many files are named.
    const char* filesError;
};

const CommandForm COMMAND_FORMS[] = {
    {"dump", TABLE_TOOL_DUMP, 0, 1, true, false, true, "more than one FILE given"},
    {"check", TABLE_TOOL_CHECK, 0, 1, false, false, false, "more than one FILE given"},
    {"demo", TABLE_TOOL_DEMO, 1, 1, false, false, false, "demo needs the FILE to write"},
    {"build", TABLE_TOOL_BUILD, 1, 1, true, true, false, "build needs one INPUT"},
    {"diff", TABLE_TOOL_DIFF, 2, 2, false, false, false, "diff needs the two files A and B"},
    {"merge", TABLE_TOOL_MERGE, 3, 3, false, true, false, "merge needs the three files BASE, OURS and THEIRS"},
};

TableToolArguments UsageError(const std::string& error)
{
    TableToolArguments arguments;
    arguments.error = error;
    return arguments;
}

bool IsHelpOption(const std::string& word)
{
    return word == "--help" || word == "-h";
}

// Help is asked for by the help command or by its option anywhere on the line.
bool AsksForHelp(const std::vector<std::string>& args)
{
    for (const std::string& word : args) {
        if (IsHelpOption(word)) {
            return true;
        }
    }
    return args[0] == "help";
}

const CommandForm* FindCommand(const std::string& word)
{
    for (const CommandForm& form : COMMAND_FORMS) {
        if (word == form.name) {
            return &form;
        }
    }
    return nullptr;
}

bool ParseFormat(const std::string& value, TableDumpFormat& format)
{
    if (value == "text") {
        format = TABLE_DUMP_TEXT;
    } else if (value == "json") {
        format = TABLE_DUMP_JSON;
    } else {
        return false;
    }
    return true;
}

// A lone "-" is taken as a file name: it stands for a standard stream.
bool IsOption(const std::string& word)
{
    return word.size() > 1 && word[0] == '-';
}

} // namespace

TableToolArguments TableToolArguments::Parse(const std::vector<std::string>& args)
{
    if (args.empty()) {
        return UsageError("no command given");
    }
    TableToolArguments arguments;
    if (AsksForHelp(args)) {
        arguments.command = TABLE_TOOL_HELP;
        return arguments;
    }
    const CommandForm* const form = FindCommand(args[0]);
    if (form == nullptr) {
        return UsageError("unknown command " + DumpQuoting::TextExcerpt(args[0]));
    }
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& word = args[k];
        if (word == FORMAT_OPTION && form->takesFormat) {
            if (k + 1 == args.size() || !ParseFormat(args[k + 1], arguments.format)) {
                return UsageError("--format takes text or json");
            }
            ++k;
        } else if (word == OUTPUT_OPTION && form->takesOutput) {
            if (k + 1 == args.size()) {
                return UsageError("-o takes the FILE to write");
            }
            arguments.output = args[++k];
        } else if (word == TEXTCONV_OPTION && form->takesTextconv) {
            arguments.textconv = true;
        } else if (IsOption(word)) {
            return UsageError("unknown option " + DumpQuoting::TextExcerpt(word) + " for " + args[0]);
        } else {
            arguments.files.push_back(word);
        }
    }
    if (arguments.files.size() < form->fewestFiles || arguments.files.size() > form->mostFiles) {
        return UsageError(form->filesError);
    }
    if (std::count(arguments.files.begin(), arguments.files.end(), ToolFiles::STANDARD_STREAM) > 1) {
        return UsageError("standard input (-) is given twice; it can be read only once");
    }
    if (arguments.textconv && arguments.format == TABLE_DUMP_JSON) {
        return UsageError("--textconv shows the text dump, not JSON");
    }
    if (arguments.files.empty()) {
        arguments.files.push_back(TILESET_FILE_NAME);
    }
    if (arguments.output.empty() && form->takesOutput) {
        arguments.output = form->command == TABLE_TOOL_MERGE ? arguments.files[1] : TILESET_FILE_NAME;
    }
    arguments.command = form->command;
    return arguments;
}
