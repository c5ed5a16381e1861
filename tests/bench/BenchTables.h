#pragma once

#include "data/TilesetTable.h"

// The tables the benchmarks time, the same in every build.
namespace BenchTables {

// The largest table (255 tilesets) with every field in use: names, and slot
// texts of random lengths, so that no branch on a text's length is predicted
// from the one before.
TilesetTable Largest();

} // namespace BenchTables
