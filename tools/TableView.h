#pragma once

#include <string>
#include <vector>

class TilesetTable;
struct CodePageTable;

// What the page shows: a table, where it came from, and what it is compared with.
struct TableViewSource {
    const TilesetTable& table;
    // The file's name as messages name it.
    std::string name;
    // The file's problems, one line each, as check prints them.
    std::vector<std::string> problems;
    // The table the fields are compared with, or none.
    const TilesetTable* base = nullptr;
    std::string baseName;
    // The code page the texts are shown in; null for the dump's notation.
    const CodePageTable* page = nullptr;
};

// The whole table as one HTML page that needs no other file and fetches
// nothing: every tileset with its slots as plain HTML, and a script that adds
// an overview of every tileset as a row of cells, a search, and with a base
// the changed fields only.
namespace TableView {

std::string Page(const TableViewSource& source);

} // namespace TableView
