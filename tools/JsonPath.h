#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct CodePageTable;

// The way from a JSON document to one of its values, as keys and list
// indices: tilesets[2].slots[0].text. Each step lives on the reader's stack
// and refers to the one before it; the text is put together only for an error.
class JsonPath {
public:
    // The document itself: an empty path.
    JsonPath();
    // A member of the object at parent. key outlives the path.
    JsonPath(const JsonPath& parent, const char* key);
    // A key found in the input, shown escaped as the JSON dump in the code page
    // writes it (page null: plain); key holds its first bytes.
    JsonPath(const JsonPath& parent, std::string_view key, uint64_t keyLength, const CodePageTable* page);
    // An item of the list at parent.
    JsonPath(const JsonPath& parent, uint64_t index);

    std::string Text() const;

private:
    void Append(std::string& text) const;

    const JsonPath* parent = nullptr;
    const char* key = nullptr;
    // A key from the input, which outlives the path: its first bytes and its length.
    bool found = false;
    std::string_view foundKey;
    uint64_t foundKeyLength = 0;
    const CodePageTable* page = nullptr;
    uint64_t index = 0;
};
