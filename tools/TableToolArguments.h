#pragma once

#include <string>
#include <vector>

enum TableToolCommand {
    TABLE_TOOL_DUMP,
    TABLE_TOOL_CHECK,
    TABLE_TOOL_DEMO,
    TABLE_TOOL_HELP,
    // The command line could not be understood; error says why.
    TABLE_TOOL_USAGE_ERROR,
};

enum TableDumpFormat {
    TABLE_DUMP_TEXT,
    TABLE_DUMP_JSON,
};

// The command line of kestrivane-table, taken apart.
class TableToolArguments {
public:
    // args are the words after the program's name.
    static TableToolArguments Parse(const std::vector<std::string>& args);

    TableToolCommand command = TABLE_TOOL_USAGE_ERROR;
    TableDumpFormat format = TABLE_DUMP_TEXT;
    // The table file; TILESET_FILE_NAME when none was named.
    std::string path;
    std::string error;
};
