#pragma once

#include "data/FileSave.h"
#include "data/TilesetFileResult.h"

#include <gtest/gtest.h>

#include <string>

class TilesetTable;

// The file the save tests start from: one tileset, "Old", with slot 0 "kept".
extern const std::string UNEDITED_FILE;
// The same file after slot 0 was renamed to "renamed".
extern const std::string EDITED_FILE;

// Loads the file at path into the empty table and, if that succeeded, renames
// slot 0 of tileset 0 to "renamed" and sets modified. Returns the load's result.
TilesetFileResult LoadAndEdit(const std::string& path, TilesetTable& table);
// LoadAndEdit, then a save of the table to path if the load succeeded; returns
// the save's result, or the failed load's.
TilesetFileResult LoadEditAndSave(const std::string& path, TilesetTable& table, const SaveOptions& options = {});

// Tests that a save keeps its promises whichever way it gives the file its
// bytes, on every system: each file derives its own suite from this, run once
// for each way with testing::Values(SAVE_WAY_REPLACE, SAVE_WAY_IN_PLACE).
class EachSaveWay : public testing::TestWithParam<SaveWay> {};
std::string SaveWayName(const testing::TestParamInfo<SaveWay>& info);
