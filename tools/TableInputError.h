#pragma once

#include <string>

// Where in a dump a value was found: its line and column (both from 1; the
// column counts bytes), and for JSON the path to it, such as tilesets[2].ambient.
struct InputPlace {
    int line = 0;
    int column = 0;
    std::string path;
};

// A fault in a dump given to build: where it is and what was expected there.
class TableInputError {
public:
    TableInputError(InputPlace place, std::string message);

    const InputPlace& Place() const;
    const std::string& Message() const;
    // "INPUT:LINE:COLUMN: [PATH: ]MESSAGE", the form editors jump to.
    std::string Describe(const std::string& inputName) const;

private:
    InputPlace place;
    std::string message;
};
