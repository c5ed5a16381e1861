#pragma once

#include <cstddef>
#include <string>

// How the dump writes a text: in quotes, plain ASCII, every byte readable back
// unambiguously. The quote and the backslash are escaped with a backslash.
class DumpQuoting {
public:
    // Other bytes outside printable ASCII as \xNN.
    static std::string Text(const std::string& bytes);
    // Other bytes outside printable ASCII as \u00NN, the character of the same number.
    static std::string Json(const std::string& bytes);
    // The same, appended to out: a whole table's dump is built without a string a text.
    static void AppendText(const char* bytes, std::size_t length, std::string& out);
    static void AppendJson(const char* bytes, std::size_t length, std::string& out);
};
