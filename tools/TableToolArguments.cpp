#include "tools/TableToolArguments.h"

#include "data/TilesetFile.h"
#include "tools/CodePage.h"
#include "tools/DumpNotation.h"
#include "tools/ToolFiles.h"

#include <algorithm>
#include <optional>

#include <cstddef>
#include <cstdint>

namespace {

const char FORMAT_OPTION[] = "--format";
const char OUTPUT_OPTION[] = "-o";
const char TEXTCONV_OPTION[] = "--textconv";
const char CODE_PAGE_OPTION[] = "--code-page";
const char BASE_OPTION[] = "--base";
const char CHECK_OPTION[] = "--check";
const char REVERSE_OPTION[] = "--reverse";
const char TABLE_OPTION[] = "-t";
// As many files as a command line holds.
const std::size_t ANY_NUMBER = SIZE_MAX;

// The options a command takes.
enum CommandOption : unsigned {
    TAKES_FORMAT = 1,
    TAKES_OUTPUT = 2,
    TAKES_TEXTCONV = 4,
    TAKES_CODE_PAGE = 8,
    // --check, --reverse and -t TABLE.
    TAKES_APPLY = 16,
    TAKES_BASE = 32,
};

// What each command takes.
struct CommandForm {
    const char* name;
    TableToolCommand command;
    std::size_t fewestFiles;
    std::size_t mostFiles;
    unsigned options;
    // Said when too few or too many files are named.
    const char* filesError;
};

const CommandForm COMMAND_FORMS[] = {
    {"dump", TABLE_TOOL_DUMP, 0, 1, TAKES_FORMAT | TAKES_TEXTCONV | TAKES_CODE_PAGE, "more than one FILE given"},
    {"check", TABLE_TOOL_CHECK, 0, 1, 0, "more than one FILE given"},
    {"demo", TABLE_TOOL_DEMO, 1, 1, 0, "demo needs the FILE to write"},
    {"build", TABLE_TOOL_BUILD, 1, 1, TAKES_FORMAT | TAKES_OUTPUT | TAKES_CODE_PAGE, "build needs one INPUT"},
    {"diff", TABLE_TOOL_DIFF, 2, 2, TAKES_CODE_PAGE, "diff needs the two files A and B"},
    {"merge", TABLE_TOOL_MERGE, 3, ANY_NUMBER, TAKES_OUTPUT | TAKES_CODE_PAGE,
     "merge needs the three files BASE, OURS and THEIRS"},
    {"view", TABLE_TOOL_VIEW, 0, 1, TAKES_OUTPUT | TAKES_CODE_PAGE | TAKES_BASE, "more than one FILE given"},
    {"patch", TABLE_TOOL_PATCH, 2, 2, TAKES_OUTPUT | TAKES_CODE_PAGE, "patch needs the two tables BASE and CHANGED"},
    {"apply", TABLE_TOOL_APPLY, 1, ANY_NUMBER, TAKES_OUTPUT | TAKES_CODE_PAGE | TAKES_APPLY,
     "apply needs at least one PATCH"},
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
    } else if (value == "csv") {
        format = TABLE_DUMP_CSV;
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

// A word of the command line split at its first "=", as "--code-page=1251":
// a long option with its value in the same word.
struct OptionWord {
    std::string name;
    std::optional<std::string> value;
};

OptionWord SplitOption(const std::string& word)
{
    const std::size_t equals = word.find('=');
    if (word.compare(0, 2, "--") != 0 || equals == std::string::npos) {
        return {word, std::nullopt};
    }
    return {word.substr(0, equals), word.substr(equals + 1)};
}

// The option's value, after its "=" or else the next word, which k moves past; null where none follows.
const std::string* OptionValue(const OptionWord& option, const std::vector<std::string>& args, std::size_t& k)
{
    if (option.value) {
        return &*option.value;
    }
    return k + 1 < args.size() ? &args[++k] : nullptr;
}

// Takes the options and files after the command; what is wrong with them, or nothing.
std::string TakeWords(const CommandForm& form, const std::vector<std::string>& args, TableToolArguments& arguments)
{
    const auto takes = [&form](CommandOption option) { return (form.options & option) != 0; };
    for (std::size_t k = 1; k < args.size(); ++k) {
        const OptionWord option = SplitOption(args[k]);
        const std::string& word = option.name;
        if (word == FORMAT_OPTION && takes(TAKES_FORMAT)) {
            const std::string* const value = OptionValue(option, args, k);
            if (value == nullptr || !ParseFormat(*value, arguments.format)) {
                return "--format takes text, json or csv";
            }
        } else if (word == OUTPUT_OPTION && takes(TAKES_OUTPUT)) {
            const std::string* const value = OptionValue(option, args, k);
            if (value == nullptr) {
                return "-o takes the FILE to write";
            }
            arguments.output = *value;
        } else if (word == TABLE_OPTION && takes(TAKES_APPLY)) {
            const std::string* const value = OptionValue(option, args, k);
            if (value == nullptr) {
                return "-t takes the TABLE to apply the patches onto";
            }
            arguments.table = *value;
        } else if ((word == CHECK_OPTION || word == REVERSE_OPTION) && takes(TAKES_APPLY)) {
            if (option.value) {
                return word + " takes no value";
            }
            (word == CHECK_OPTION ? arguments.check : arguments.reverse) = true;
        } else if (word == TEXTCONV_OPTION && takes(TAKES_TEXTCONV)) {
            if (option.value) {
                return "--textconv takes no value";
            }
            arguments.textconv = true;
        } else if (word == CODE_PAGE_OPTION && takes(TAKES_CODE_PAGE)) {
            const std::string* const value = OptionValue(option, args, k);
            if (value == nullptr) {
                return "--code-page takes " + CodePage::KnownNumbers() + " (the Windows ANSI code pages)";
            }
            std::string error;
            arguments.codePage = CodePage::Parse(*value, error);
            if (arguments.codePage == nullptr) {
                return error;
            }
        } else if (word == BASE_OPTION && takes(TAKES_BASE)) {
            const std::string* const value = OptionValue(option, args, k);
            if (value == nullptr) {
                return "--base takes the table to compare with";
            }
            arguments.base = *value;
        } else if (IsOption(word)) {
            return "unknown option " + DumpNotation::TextExcerpt(word) + " for " + args[0];
        } else {
            arguments.files.push_back(args[k]);
        }
    }
    return {};
}

std::string DefaultOutput(TableToolCommand command, const TableToolArguments& arguments)
{
    switch (command) {
    case TABLE_TOOL_MERGE:
        return arguments.files[1];
    case TABLE_TOOL_PATCH:
    case TABLE_TOOL_VIEW:
        return ToolFiles::STANDARD_STREAM;
    case TABLE_TOOL_APPLY:
        return arguments.table;
    default:
        return TILESET_FILE_NAME;
    }
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
        return UsageError("unknown command " + DumpNotation::TextExcerpt(args[0]));
    }
    const std::string wordsError = TakeWords(*form, args, arguments);
    if (!wordsError.empty()) {
        return UsageError(wordsError);
    }
    if (arguments.files.size() < form->fewestFiles || arguments.files.size() > form->mostFiles) {
        return UsageError(form->filesError);
    }
    const std::size_t streamInputs =
        std::count(arguments.files.begin(), arguments.files.end(), ToolFiles::STANDARD_STREAM) +
        ToolFiles::IsStandardStream(arguments.table) + ToolFiles::IsStandardStream(arguments.base);
    if (streamInputs > 1) {
        return UsageError("standard input (-) is given twice; it can be read only once");
    }
    if (arguments.textconv && arguments.format != TABLE_DUMP_TEXT) {
        return UsageError("--textconv shows the text dump: it cannot be given with --format json or csv");
    }
    if (arguments.files.empty()) {
        arguments.files.push_back(TILESET_FILE_NAME);
    }
    if (arguments.table.empty() && (form->options & TAKES_APPLY) != 0) {
        arguments.table = TILESET_FILE_NAME;
    }
    if (arguments.output.empty() && (form->options & TAKES_OUTPUT) != 0) {
        arguments.output = DefaultOutput(form->command, arguments);
    }
    arguments.command = form->command;
    return arguments;
}
