#pragma once

#include "tools/TableTool.h"

#include <string>
#include <vector>

class TilesetTable;
struct CodePageTable;

// Tileset files and expected outputs shared by the table tool's tests.

// A table with every byte value in its texts: names and slots from 0x01 to
// 0xFF, the quote and the backslash, bytes after a NUL, fields with no NUL, an
// empty name and ambient numbers 0 and 255.
std::string EveryKindOfByteFile();
// A file whose header declares more tilesets and more slots than it holds,
// with names and slots lacking their NUL and its last entry cut short.
std::string EveryProblemFile();
// The table's dump as the tool prints it, as text, JSON or CSV, plain or in the code page.
std::string TextDumpOf(const TilesetTable& table, const CodePageTable* page = nullptr);
std::string JsonDumpOf(const TilesetTable& table, const CodePageTable* page = nullptr);
std::string CsvDumpOf(const TilesetTable& table, const CodePageTable* page = nullptr);
// The built-in code page of that number.
const CodePageTable& Page(const std::string& number);
// A checked-in expected output from expected/, copied beside the test program.
std::string ExpectedOutput(const std::string& name);
// text with every occurrence of from replaced by to.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
// Slot texts up to slot, empty but the last.
std::vector<std::string> SlotsWith(std::size_t slot, const std::string& text);
// The demo table's file, as demo writes it.
std::string DemoFileBytes();

// What a run of the tool in this process gave.
struct ToolRun {
    TableToolExitCode code;
    std::string out;
    std::string err;
};

// input is what the tool finds on its standard input.
ToolRun RunTool(const std::vector<std::string>& args, const std::string& input = {});
