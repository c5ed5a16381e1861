#pragma once

#include "tools/TableInputError.h"

#include <string>
#include <vector>

enum JsonKind {
    JSON_NULL,
    JSON_TRUE,
    JSON_FALSE,
    JSON_NUMBER,
    JSON_STRING,
    JSON_ARRAY,
    JSON_OBJECT,
};

// One value of a JSON document, with the place where it starts.
struct JsonValue {
    JsonKind kind = JSON_NULL;
    InputPlace place;
    // A number as written, or a string's characters, each one byte (U+0000 to U+00FF).
    std::string text;
    // An array's items; an object's member values, whose keys are the strings in keys.
    std::vector<JsonValue> values;
    std::vector<JsonValue> keys;
};
