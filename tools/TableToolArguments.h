#pragma once

#include <string>
#include <vector>

struct CodePageTable;

enum TableToolCommand {
    TABLE_TOOL_DUMP,
    TABLE_TOOL_CHECK,
    TABLE_TOOL_DEMO,
    TABLE_TOOL_BUILD,
    TABLE_TOOL_DIFF,
    TABLE_TOOL_MERGE,
    TABLE_TOOL_VIEW,
    TABLE_TOOL_PATCH,
    TABLE_TOOL_APPLY,
    TABLE_TOOL_HELP,
    // The command line could not be understood; error says why.
    TABLE_TOOL_USAGE_ERROR,
};

enum TableDumpFormat {
    TABLE_DUMP_TEXT,
    TABLE_DUMP_JSON,
    TABLE_DUMP_CSV,
};

// The command line of kestrivane-table, taken apart.
class TableToolArguments {
public:
    // args are the words after the program's name.
    static TableToolArguments Parse(const std::vector<std::string>& args);

    TableToolCommand command = TABLE_TOOL_USAGE_ERROR;
    TableDumpFormat format = TABLE_DUMP_TEXT;
    // dump for git's text conversion: every file gives text and exit code 0.
    bool textconv = false;
    // The code page that the dumps' texts are written and read in, as UTF-8;
    // null for the plain dumps.
    const CodePageTable* codePage = nullptr;
    // apply: only tell what the patches would do, and write nothing.
    bool check = false;
    // apply: remove the patches instead, last to first.
    bool reverse = false;
    // The table that apply changes: TILESET_FILE_NAME unless -t gives one.
    std::string table;
    // The files the command reads, in the order given: dump's and check's
    // default to TILESET_FILE_NAME. "-" is standard input, at most once.
    std::vector<std::string> files;
    // The table that view compares the file with; none where empty.
    std::string base;
    // The file that build, merge, patch, apply and view write: by default
    // TILESET_FILE_NAME for build, OURS for merge, standard output for patch
    // and view, and the table for apply. "-" is standard output.
    std::string output;
    std::string error;
};
