#include "tools/TableJsonReader.h"

#include "tools/JsonParser.h"
#include "tools/NumberText.h"
#include "tools/TableBuilder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
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

const char* const DOCUMENT_KEYS[] = {"tilesets"};
const char* const TILESET_KEYS[] = {"index", "name", "ambient", "slots"};
const char* const SLOT_KEYS[] = {"index", "text"};

template <std::size_t N>
std::string KeyList(const char* const (&keys)[N])
{
    std::string list;
    for (std::size_t k = 0; k < N; ++k) {
        list += (k == 0 ? "" : k + 1 == N ? " or " : ", ") + ("\"" + std::string(keys[k]) + "\"");
    }
    return list;
}

class JsonReader {
public:
    explicit JsonReader(TableBuilder& builder) : builder(builder) {}

    void Document(const JsonValue& document)
    {
        const JsonValue* members[std::size(DOCUMENT_KEYS)] = {};
        if (!Members(document, "", DOCUMENT_KEYS, members)) {
            return;
        }
        const JsonValue* const tilesets = members[0];
        if (tilesets == nullptr) {
            builder.AddError(At(document, ""), "expected the key \"tilesets\"");
        } else if (Is(*tilesets, JSON_ARRAY, "tilesets")) {
            Tilesets(*tilesets);
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
        const JsonValue* members[std::size(TILESET_KEYS)] = {};
        if (!Members(tileset, path, TILESET_KEYS, members)) {
            return;
        }
        const auto [index, name, ambient, slots] = members;
        uint64_t givenIndex = position;
        if (index != nullptr && Whole(*index, Member(path, "index"), givenIndex) && givenIndex != position) {
            builder.AddError(At(*index, Member(path, "index")), "index " + std::to_string(givenIndex) + ": expected " +
                                                                    std::to_string(position) +
                                                                    ", the tileset's place in the list");
        }
        builder.StartTileset(position, At(tileset, path));
        if (name != nullptr && Is(*name, JSON_STRING, Member(path, "name"))) {
            builder.SetName(name->text, At(*name, Member(path, "name")));
        }
        uint64_t ambientNumber = 0;
        if (ambient != nullptr && Whole(*ambient, Member(path, "ambient"), ambientNumber)) {
            builder.SetAmbient(ambientNumber, At(*ambient, Member(path, "ambient")));
        }
        const std::string slotsPath = Member(path, "slots");
        if (slots != nullptr && Is(*slots, JSON_ARRAY, slotsPath)) {
            for (std::size_t k = 0; k < slots->values.size(); ++k) {
                Slot(slots->values[k], Item(slotsPath, k));
            }
        }
    }

    void Slot(const JsonValue& slot, const std::string& path)
    {
        const JsonValue* members[std::size(SLOT_KEYS)] = {};
        if (!Members(slot, path, SLOT_KEYS, members)) {
            return;
        }
        const auto [index, text] = members;
        if (index == nullptr || text == nullptr) {
            builder.AddError(At(slot, path), "expected the keys \"index\" and \"text\"");
            return;
        }
        uint64_t slotIndex = 0;
        const std::string indexPath = Member(path, "index");
        const std::string textPath = Member(path, "text");
        const bool indexRead = Whole(*index, indexPath, slotIndex);
        if (Is(*text, JSON_STRING, textPath) && indexRead) {
            builder.SetSlot(slotIndex, At(*index, indexPath), text->text, At(*text, textPath));
        }
    }

    // The members of an object, in the order of keys; those not given stay null.
    // A key not among keys, or given twice, is an error, and the other members
    // are still read. False for no object.
    template <std::size_t N>
    bool Members(const JsonValue& object, const std::string& path, const char* const (&keys)[N],
                 const JsonValue* (&members)[N])
    {
        if (!Is(object, JSON_OBJECT, path)) {
            return false;
        }
        for (std::size_t k = 0; k < object.keys.size(); ++k) {
            const JsonValue& key = object.keys[k];
            const auto known = std::find_if(std::begin(keys), std::end(keys),
                                            [&key](const char* name) { return key.text == name; });
            if (known == std::end(keys)) {
                builder.AddError(At(key, Member(path, key.text)), "unknown key: expected " + KeyList(keys));
            } else if (members[known - std::begin(keys)] != nullptr) {
                builder.AddError(At(key, Member(path, key.text)), "the key is given twice in one object");
            } else {
                members[known - std::begin(keys)] = &object.values[k];
            }
        }
        return true;
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
