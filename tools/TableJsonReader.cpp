#include "tools/TableJsonReader.h"

#include "tools/JsonParser.h"
#include "tools/NumberText.h"
#include "tools/TableBuilder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace {

InputPlace At(const JsonValue& value, const std::string& path)
{
    return {value.place.line, value.place.column, path};
}

std::string Item(const std::string& path, std::size_t index)
{
    return path + "[" + std::to_string(index) + "]";
}

std::string Member(const std::string& path, const std::string& key)
{
    return path.empty() ? key : path + "." + key;
}

const char* KindName(JsonKind kind)
{
    switch (kind) {
    case JSON_NULL:
        return "null";
    case JSON_TRUE:
    case JSON_FALSE:
        return "a boolean";
    case JSON_NUMBER:
        return "a number";
    case JSON_STRING:
        return "a string";
    case JSON_ARRAY:
        return "a list";
    case JSON_OBJECT:
        return "an object";
    }
    return "a value";
}

class JsonReader {
public:
    explicit JsonReader(TableBuilder& builder) : builder(builder) {}

    void Document(const JsonValue& document)
    {
        std::map<std::string, const JsonValue*> members;
        if (!Members(document, "", {"tilesets"}, members)) {
            return;
        }
        const auto tilesets = members.find("tilesets");
        if (tilesets == members.end()) {
            builder.AddError(At(document, ""), "expected the key \"tilesets\"");
        } else if (Is(*tilesets->second, JSON_ARRAY, "tilesets")) {
            Tilesets(*tilesets->second);
        }
    }

private:
    void Tilesets(const JsonValue& list)
    {
        const std::size_t count = list.values.size();
        if (count > MAX_TILESET_COUNT) {
            builder.SetCount(count, At(list.values[MAX_TILESET_COUNT], Item("tilesets", MAX_TILESET_COUNT)));
        } else {
            builder.SetCount(count, At(list, "tilesets"));
        }
        // Past the largest count, each tileset would only repeat the count's error.
        for (std::size_t i = 0; i < count && i < MAX_TILESET_COUNT; ++i) {
            Tileset(list.values[i], i, Item("tilesets", i));
        }
    }

    void Tileset(const JsonValue& tileset, std::size_t position, const std::string& path)
    {
        std::map<std::string, const JsonValue*> members;
        if (!Members(tileset, path, {"index", "name", "ambient", "slots"}, members)) {
            return;
        }
        const auto index = members.find("index");
        uint64_t givenIndex = position;
        if (index != members.end() && Whole(*index->second, Member(path, "index"), givenIndex) &&
            givenIndex != position) {
            builder.AddError(At(*index->second, Member(path, "index")),
                             "index " + std::to_string(givenIndex) + ": expected " + std::to_string(position) +
                                 ", the tileset's place in the list");
        }
        builder.StartTileset(position, At(tileset, path));
        const auto name = members.find("name");
        if (name != members.end() && Is(*name->second, JSON_STRING, Member(path, "name"))) {
            builder.SetName(name->second->text, At(*name->second, Member(path, "name")));
        }
        const auto ambient = members.find("ambient");
        uint64_t ambientNumber = 0;
        if (ambient != members.end() && Whole(*ambient->second, Member(path, "ambient"), ambientNumber)) {
            builder.SetAmbient(ambientNumber, At(*ambient->second, Member(path, "ambient")));
        }
        const auto slots = members.find("slots");
        if (slots != members.end() && Is(*slots->second, JSON_ARRAY, Member(path, "slots"))) {
            for (std::size_t k = 0; k < slots->second->values.size(); ++k) {
                Slot(slots->second->values[k], Item(Member(path, "slots"), k));
            }
        }
    }

    void Slot(const JsonValue& slot, const std::string& path)
    {
        std::map<std::string, const JsonValue*> members;
        if (!Members(slot, path, {"index", "text"}, members)) {
            return;
        }
        const auto index = members.find("index");
        const auto text = members.find("text");
        if (index == members.end() || text == members.end()) {
            builder.AddError(At(slot, path), "expected the keys \"index\" and \"text\"");
            return;
        }
        uint64_t slotIndex = 0;
        const bool indexRead = Whole(*index->second, Member(path, "index"), slotIndex);
        if (Is(*text->second, JSON_STRING, Member(path, "text")) && indexRead) {
            builder.SetSlot(slotIndex, At(*index->second, Member(path, "index")), text->second->text,
                            At(*text->second, Member(path, "text")));
        }
    }

    // The members of an object by key. A key not among keys, or given twice, is
    // an error, and the other members are still read. False for no object.
    bool Members(const JsonValue& object, const std::string& path, const std::vector<std::string>& keys,
                 std::map<std::string, const JsonValue*>& members)
    {
        if (!Is(object, JSON_OBJECT, path)) {
            return false;
        }
        for (std::size_t k = 0; k < object.keys.size(); ++k) {
            const JsonValue& key = object.keys[k];
            const InputPlace keyAt = At(key, Member(path, key.text));
            if (std::find(keys.begin(), keys.end(), key.text) == keys.end()) {
                builder.AddError(keyAt, "unknown key: expected " + KeyList(keys));
            } else if (!members.emplace(key.text, &object.values[k]).second) {
                builder.AddError(keyAt, "the key is given twice in one object");
            }
        }
        return true;
    }

    static std::string KeyList(const std::vector<std::string>& keys)
    {
        std::string list;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            list += (k == 0 ? "" : k + 1 == keys.size() ? " or " : ", ") + ("\"" + keys[k] + "\"");
        }
        return list;
    }

    bool Is(const JsonValue& value, JsonKind kind, const std::string& path)
    {
        if (value.kind != kind) {
            builder.AddError(At(value, path), std::string("expected ") + KindName(kind) + ", found " +
                                                  KindName(value.kind));
            return false;
        }
        return true;
    }

    // A number without sign, fraction or exponent.
    bool Whole(const JsonValue& value, const std::string& path, uint64_t& number)
    {
        if (value.kind != JSON_NUMBER || !NumberText::ParseDecimal(value.text, number)) {
            const std::string found = value.kind == JSON_NUMBER ? value.text : KindName(value.kind);
            builder.AddError(At(value, path), "expected a whole number, found " + found);
            return false;
        }
        return true;
    }

    TableBuilder& builder;
};

} // namespace

void TableJsonReader::Read(const std::string& input, TableBuilder& builder)
{
    JsonValue document;
    std::vector<TableInputError> parseErrors;
    const bool parsed = JsonParser::Parse(input, document, parseErrors);
    for (const TableInputError& error : parseErrors) {
        builder.AddError(error.Place(), error.Message());
    }
    if (parsed) {
        JsonReader(builder).Document(document);
    }
}
