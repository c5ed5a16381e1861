#pragma once

#include "tools/JsonValue.h"

#include <string>
#include <vector>

// Parses a JSON document whose strings hold single-byte texts: each character
// stands for one byte, so a character above U+00FF is an error. Raw
// characters are read as UTF-8.
class JsonParser {
public:
    // Stops at the first syntax error, which it adds to errors with its line
    // and column and what was expected there, and returns false. A character
    // above U+00FF is an error too, but the parse goes on.
    static bool Parse(const std::string& input, JsonValue& document, std::vector<TableInputError>& errors);
};
