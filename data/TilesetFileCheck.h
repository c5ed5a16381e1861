#pragma once

#include "data/TilesetFileProblem.h"

#include <string>
#include <vector>

// Validates the bytes of a tileset table file against the layout the editor
// writes, finding what the load would quietly repair, cut or refuse.
class TilesetFileCheck {
public:
    // Every problem in file order; none for a file as the editor writes it.
    static std::vector<TilesetFileProblem> Check(const std::string& bytes);
};
