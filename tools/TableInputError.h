#pragma once

#include <string>

class JsonPath;

// Where in a dump a value was found: its line and column (both from 1; the
// column counts bytes), and for JSON the path to it, such as tilesets[2].ambient,
// written out only when an error names it.
struct InputPlace {
    int line = 0;
    int column = 0;
    // Outlives the place; null for the text dump.
    const JsonPath* path = nullptr;
};

// A fault in a dump given to build: where it is and what was expected there.
class TableInputError {
public:
    TableInputError(const InputPlace& place, std::string message);

    int Line() const;
    int Column() const;
    const std::string& Message() const;
    // "INPUT:LINE:COLUMN: [PATH: ]MESSAGE", the form editors jump to.
    std::string Describe(const std::string& inputName) const;

private:
    int line;
    int column;
    std::string path;
    std::string message;
};
