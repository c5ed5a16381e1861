#include "tools/TableJson.h"

#include "data/TilesetFileFormat.h"
#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DumpNotation.h"
#include "tools/JsonParser.h"
#include "tools/JsonPath.h"
#include "tools/RecordText.h"
#include "tools/TableBuilder.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

namespace {

void AppendJsonSlots(const TilesetRecord& record, const CodePageTable* page, std::string& json)
{
    const char* separator = "\n";
    bool any = false;
    json += "      \"slots\": [";
    for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
        if (record.slots[slot][0] != '\0') {
            json += separator;
            json += "        { \"index\": " + std::to_string(slot) + ", \"text\": ";
            DumpNotation::AppendJson(record.slots[slot], TilesetFileFormat::TextLength(record.slots[slot]), page,
                                     json);
            json += " }";
            separator = ",\n";
            any = true;
        }
    }
    json += any ? "\n      ]\n" : "]\n";
}

// Each tileset is put together in a string and written in one piece, as the text dump does.
void AppendJsonRecord(const TilesetRecord& record, int index, const CodePageTable* page, std::string& json)
{
    const std::string name = RecordText::Name(record);
    json += "    {\n      \"index\": " + std::to_string(index) + ",\n      \"name\": ";
    DumpNotation::AppendJson(name.data(), name.size(), page, json);
    json += ",\n      \"ambient\": " + std::to_string(record.ambient) + ",\n";
    AppendJsonSlots(record, page, json);
    json += "    }";
}

// "byte 0x98" for the first byte of text that page leaves undefined; empty for none.
std::string ByteWithoutCharacterIn(std::string_view text, const CodePageTable& page)
{
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (CodePage::CharacterOf(page, byte) == CodePage::NO_CHARACTER) {
            return "byte 0x" + DumpNotation::HexByte(byte);
        }
    }
    return {};
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
    case JSON_NO_VALUE:
        break;
    }
    return "a value";
}

const std::string_view DOCUMENT_KEYS[] = {"tilesets"};
const std::string_view TILESET_KEYS[] = {"index", "name", "ambient", "slots"};
const std::string_view SLOT_KEYS[] = {"index", "text"};

template <std::size_t N>
std::string KeyList(const std::string_view (&keys)[N])
{
    std::string list;
    for (std::size_t k = 0; k < N; ++k) {
        list += (k == 0 ? "" : k + 1 == N ? " or " : ", ") + ("\"" + std::string(keys[k]) + "\"");
    }
    return list;
}

bool IsKey(const InputText& key, std::string_view name)
{
    return key.length == name.size() && key.Bytes() == name;
}

// The members of one object: which keys were given, each at most once.
template <std::size_t N>
class Members {
public:
    // page: the code page that the keys were read in, for showing one that is not known.
    Members(const std::string_view (&keys)[N], const CodePageTable* page) : keys(keys), page(page) {}

    // The index of a key given the first time; -1 for one not known or given
    // again, which is told, and whose value the caller skips.
    int Find(const InputText& key, InputPlace keyAt, const JsonPath& object, TableBuilder& builder)
    {
        for (std::size_t k = 0; k < N; ++k) {
            if (IsKey(key, keys[k])) {
                if (given[k]) {
                    const JsonPath path(object, keys[k].data());
                    keyAt.path = &path;
                    builder.AddError(keyAt, [] { return "the key is given twice in one object"; });
                    return -1;
                }
                given[k] = true;
                return static_cast<int>(k);
            }
        }
        const JsonPath path(object, key.Bytes(), key.length, page);
        keyAt.path = &path;
        builder.AddError(keyAt, [this] { return "unknown key: expected " + KeyList(keys); });
        return -1;
    }

private:
    const std::string_view (&keys)[N];
    const CodePageTable* const page;
    bool given[N] = {};
};

// The reader follows the dump's layout as the parser goes, and takes each value
// as it comes: a document of any size is read in the memory of one table.
class JsonReader {
public:
    JsonReader(const std::string& input, const CodePageTable* page, TableBuilder& builder)
        : parser(input, page, builder), page(page), builder(builder)
    {
    }

    void Document()
    {
        const JsonPath document;
        const InputPlace documentAt = Place(document);
        if (!Is(JSON_OBJECT, documentAt)) {
            return;
        }
        bool tilesetsGiven = false;
        EachMember(document, DOCUMENT_KEYS, [this, &tilesetsGiven](int, const JsonPath& tilesets) {
            tilesetsGiven = true;
            Tilesets(tilesets);
        });
        if (!tilesetsGiven && !parser.Failed()) {
            builder.AddError(documentAt, [] { return "expected the key \"tilesets\""; });
        }
        parser.Finish();
    }

private:
    void Tilesets(const JsonPath& path)
    {
        if (!Is(JSON_ARRAY, Place(path))) {
            return;
        }
        builder.ListTilesets();
        parser.EnterArray();
        uint64_t count = 0;
        InputPlace beyondAt;
        for (; parser.NextItem(); ++count) {
            const JsonPath item(path, count);
            if (count < MAX_TILESET_COUNT) {
                Tileset(count, item);
                continue;
            }
            // Past the largest count, each tileset would only repeat the count's error.
            if (count == MAX_TILESET_COUNT) {
                beyondAt = Place(item);
            }
            parser.Skip();
        }
        const JsonPath beyond(path, static_cast<uint64_t>(MAX_TILESET_COUNT));
        beyondAt.path = &beyond;
        if (!parser.Failed()) {
            builder.EndList(count, beyondAt);
        }
    }

    void Tileset(uint64_t position, const JsonPath& path)
    {
        const InputPlace at = Place(path);
        if (!Is(JSON_OBJECT, at)) {
            return;
        }
        const std::string positionText = std::to_string(position);
        builder.StartTileset({position, positionText}, at);
        EachMember(path, TILESET_KEYS, [this, position](int member, const JsonPath& memberPath) {
            TilesetMember(member, position, memberPath);
        });
    }

    void TilesetMember(int member, uint64_t position, const JsonPath& path)
    {
        WrittenNumber number;
        InputPlace at;
        switch (member) {
        case 0:
            if (Whole(path, number, at) && number.value != position) {
                builder.AddError(at, [&] {
                    return "index " + DumpNotation::NumberShown(number.text) + ": expected " +
                           std::to_string(position) + ", the tileset's place in the list";
                });
            }
            break;
        case 1:
            if (Text(path, at)) {
                builder.SetName(text, at);
            }
            break;
        case 2:
            if (Whole(path, number, at)) {
                builder.SetAmbient(number, at);
            }
            break;
        default:
            Slots(path);
        }
    }

    void Slots(const JsonPath& path)
    {
        if (!Is(JSON_ARRAY, Place(path))) {
            return;
        }
        parser.EnterArray();
        for (uint64_t k = 0; parser.NextItem(); ++k) {
            Slot(JsonPath(path, k));
        }
    }

    // Index and text in either order: the slot is set once both are read.
    void Slot(const JsonPath& path)
    {
        const InputPlace at = Place(path);
        if (!Is(JSON_OBJECT, at)) {
            return;
        }
        // The places of both values name their paths after the object is read.
        const JsonPath indexPath(path, "index");
        const JsonPath textPath(path, "text");
        WrittenNumber index;
        InputPlace indexAt;
        InputPlace textAt;
        int given = 0;
        int read = 0;
        EachMember(path, SLOT_KEYS, [&](int member, const JsonPath&) {
            ++given;
            read += member == 0 ? Whole(indexPath, index, indexAt) : Text(textPath, textAt);
        });
        if (parser.Failed()) {
            return;
        }
        if (given < 2) {
            builder.AddError(at, [] { return "expected the keys \"index\" and \"text\""; });
        } else if (read == 2) {
            builder.SetSlot(index, indexAt, text, textAt);
        }
    }

    // Reads the members of the object at path, each known key the first time
    // given to take with its index in keys and its path; the others are told
    // and skipped.
    template <std::size_t N, typename Take>
    void EachMember(const JsonPath& path, const std::string_view (&keys)[N], const Take& take)
    {
        Members<N> members(keys, page);
        InputText key;
        InputPlace keyAt;
        parser.EnterObject();
        while (parser.NextMember(key, keyAt)) {
            const int member = members.Find(key, keyAt, path, builder);
            if (member < 0) {
                parser.Skip();
            } else {
                take(member, JsonPath(path, keys[member].data()));
            }
        }
    }

    InputPlace Place(const JsonPath& path)
    {
        parser.Next();
        InputPlace at = parser.Here();
        at.path = &path;
        return at;
    }

    // Tells a value of another kind, once it is read: a value that breaks the
    // syntax has only that error.
    bool Is(JsonKind kind, const InputPlace& at)
    {
        const JsonKind found = parser.Next();
        if (found == kind) {
            return true;
        }
        if (parser.Skip()) {
            builder.AddError(at,
                             [&] { return std::string("expected ") + KindName(kind) + ", found " + KindName(found); });
        }
        return false;
    }

    // A number without sign, fraction or exponent.
    bool Whole(const JsonPath& path, WrittenNumber& number, InputPlace& at)
    {
        at = Place(path);
        const JsonKind found = parser.Next();
        if (found != JSON_NUMBER) {
            if (parser.Skip()) {
                builder.AddError(at, [&] { return std::string("expected a whole number, found ") + KindName(found); });
            }
            return false;
        }
        if (!parser.Number(number.text)) {
            return false;
        }
        if (!DumpNotation::ParseDecimal(number.text, number.value)) {
            builder.AddError(at, [&] {
                return "expected a whole number, found " + DumpNotation::NumberShown(number.text);
            });
            return false;
        }
        return true;
    }

    // Into text, which the reader keeps for the value being read.
    bool Text(const JsonPath& path, InputPlace& at)
    {
        at = Place(path);
        return Is(JSON_STRING, at) && parser.String(text, at.path);
    }

    JsonParser parser;
    const CodePageTable* const page;
    TableBuilder& builder;
    InputText text;
};

} // namespace

void TableJson::Write(const TilesetTable& table, const CodePageTable* page, std::ostream& out)
{
    out << "{\n  \"tilesets\": [";
    std::string json;
    for (int i = 0; i < table.RecordCount(); ++i) {
        json = i == 0 ? "\n" : ",\n";
        AppendJsonRecord(table.RecordAt(i), i, page, json);
        out << json;
    }
    out << (table.RecordCount() == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

std::string TableJson::ByteWithoutCharacter(const TilesetTable& table, const CodePageTable& page)
{
    for (int i = 0; i < table.RecordCount(); ++i) {
        const TilesetRecord& record = table.RecordAt(i);
        std::string where = "tileset " + std::to_string(i);
        const std::string inName = ByteWithoutCharacterIn(RecordText::Name(record), page);
        if (!inName.empty()) {
            return where.append(" name: ").append(inName);
        }
        for (int slot = 0; slot < SLOTS_PER_TILESET; ++slot) {
            const std::string inSlot = ByteWithoutCharacterIn(RecordText::Slot(record, slot), page);
            if (!inSlot.empty()) {
                return where.append(" slot ").append(std::to_string(slot)).append(": ").append(inSlot);
            }
        }
    }
    return {};
}

void TableJson::Read(const std::string& input, const CodePageTable* page, TableBuilder& builder)
{
    JsonReader(input, page, builder).Document();
}
