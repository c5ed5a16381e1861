#pragma once

#include "tools/RecordField.h"

#include <string>
#include <vector>

class InputErrorList;
class TilesetTable;
struct CodePageTable;

// One changed field of a patch: where it was in the table the patch was made
// from (the tileset's index and name there), its old value and its new one.
struct PatchLine {
    // The line of the patch's text, from 1.
    int line = 0;
    int tileset = 0;
    std::string tilesetName;
    RecordField field = RecordField::Name();
    FieldValue before;
    FieldValue after;
};

// The changes that turn one table into another, as text a person reads,
// reviews and writes: a header, "kestrivane patch 1", with " code-page N"
// where the texts are that code page's letters in UTF-8, then one line a
// changed field in the dump's notation:
//
//   tileset 0 "Grassland" slot 4: "dirt path" -> "gravel path"
//
// Blank lines and lines that begin with # are ignored.
struct TablePatch {
    // The patch from base to changed, which hold as many tilesets; the fields
    // in file order.
    static std::string Between(const TilesetTable& base, const TilesetTable& changed, const CodePageTable* page);
    // Reads a patch's text; each fault goes to errors, with its line and
    // column, and reading goes on where it can. optionPage is the code page
    // that the command line gives for a patch whose header names none; one
    // that contradicts the header is an error.
    static TablePatch Read(const std::string& input, const CodePageTable* optionPage, InputErrorList& errors);

    // The code page that the patch's texts are written in; null for the plain notation.
    const CodePageTable* page = nullptr;
    // In the order of the text.
    std::vector<PatchLine> lines;
};
