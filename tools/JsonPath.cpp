#include "tools/JsonPath.h"

#include "tools/DumpNotation.h"

namespace {

bool IsPlainKey(std::string_view key)
{
    for (const char c : key) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) {
            return false;
        }
    }
    return !key.empty();
}

} // namespace

JsonPath::JsonPath() = default;

JsonPath::JsonPath(const JsonPath& parent, const char* key) : parent(&parent), key(key)
{
}

JsonPath::JsonPath(const JsonPath& parent, std::string_view key, uint64_t keyLength, const CodePageTable* page)
    : parent(&parent), found(true), foundKey(key), foundKeyLength(keyLength), page(page)
{
}

JsonPath::JsonPath(const JsonPath& parent, uint64_t index) : parent(&parent), index(index)
{
}

std::string JsonPath::Text() const
{
    std::string text;
    Append(text);
    return text;
}

void JsonPath::Append(std::string& text) const
{
    if (parent == nullptr) {
        return;
    }
    parent->Append(text);
    if (key == nullptr && !found) {
        text += "[" + std::to_string(index) + "]";
        return;
    }
    if (!text.empty()) {
        text += '.';
    }
    // A key that is not a plain word is shown as the JSON string it is, so that
    // whatever bytes it holds reach the terminal escaped.
    const bool plain = IsPlainKey(foundKey) && foundKeyLength == foundKey.size();
    text += key != nullptr ? key
            : plain        ? std::string(foundKey)
                           : DumpNotation::JsonExcerpt(foundKey, foundKeyLength, page);
}
