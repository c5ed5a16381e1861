#include "tools/TableToolArguments.h"

#include "data/TilesetFile.h"

#include <cstddef>

namespace {

const char FORMAT_OPTION[] = "--format";

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

bool ParseCommand(const std::string& word, TableToolCommand& command)
{
    if (word == "dump") {
        command = TABLE_TOOL_DUMP;
    } else if (word == "check") {
        command = TABLE_TOOL_CHECK;
    } else if (word == "demo") {
        command = TABLE_TOOL_DEMO;
    } else {
        return false;
    }
    return true;
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

// A lone "-" is taken as a file name: the tool reads no standard input.
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
    if (!ParseCommand(args[0], arguments.command)) {
        return UsageError("unknown command \"" + args[0] + "\"");
    }
    bool fileNamed = false;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& word = args[k];
        if (word == FORMAT_OPTION && arguments.command == TABLE_TOOL_DUMP) {
            if (k + 1 == args.size() || !ParseFormat(args[k + 1], arguments.format)) {
                return UsageError("--format takes text or json");
            }
            ++k;
        } else if (IsOption(word)) {
            return UsageError("unknown option \"" + word + "\" for " + args[0]);
        } else if (fileNamed) {
            return UsageError("more than one FILE given");
        } else {
            arguments.path = word;
            fileNamed = true;
        }
    }
    if (!fileNamed && arguments.command == TABLE_TOOL_DEMO) {
        return UsageError("demo needs the FILE to write");
    }
    if (!fileNamed) {
        arguments.path = TILESET_FILE_NAME;
    }
    return arguments;
}
