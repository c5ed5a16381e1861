#include "tools/LoadOrder.h"

#include "tools/DumpNotation.h"
#include "tools/RecordField.h"
#include "tools/RecordText.h"
#include "tools/TablePatch.h"

#include <optional>
#include <ostream>
#include <utility>

namespace {

std::string Quoted(const std::string& bytes, const CodePageTable* page)
{
    std::string shown;
    DumpNotation::AppendText(bytes.data(), bytes.size(), page, shown);
    return shown;
}

// "tileset 2 "Desert" slot 4", with where the tileset was found if it moved.
std::string FieldName(const PatchLine& line, int found, const CodePageTable* page)
{
    std::string named = "tileset " + std::to_string(line.tileset) + " " + Quoted(line.tilesetName, page);
    if (found >= 0 && found != line.tileset) {
        named += " (tileset " + std::to_string(found) + " in the table)";
    }
    return named + " " + line.field.Label();
}

// The new name that a patch gives each tileset, where it renames one.
std::vector<const std::string*> Renames(const TablePatch& patch)
{
    std::vector<const std::string*> renames(MAX_TILESET_COUNT, nullptr);
    for (const PatchLine& line : patch.lines) {
        if (line.field.IsName()) {
            renames[line.tileset] = &line.after.text;
        }
    }
    return renames;
}

} // namespace

LoadOrder::LoadOrder(TilesetTable& table, bool reverse)
    : table(table), before(table), reverse(reverse),
      writers(static_cast<std::size_t>(table.RecordCount()) * RecordField::COUNT)
{
    for (int i = 0; i < before.RecordCount(); ++i) {
        beforeNames.push_back(RecordText::Name(before.RecordAt(i)));
        NameCount& named = byName[beforeNames.back()];
        if (named.count++ == 0) {
            named.first = i;
        }
        if (reverse) {
            finalNames[beforeNames.back()] = beforeNames.back();
        }
    }
}

// A patch's renames are made at once: each old name takes what its new name
// led to after the later patches, all looked up before any is noted.
void LoadOrder::TraceRenames(const TablePatch& patch)
{
    std::vector<std::pair<std::string, std::optional<std::string>>> leads;
    for (const PatchLine& line : patch.lines) {
        if (line.field.IsName()) {
            const auto led = finalNames.find(line.after.text);
            leads.emplace_back(line.before.text,
                               led == finalNames.end() ? std::nullopt : std::optional<std::string>(led->second));
        }
    }
    for (const auto& [old, final] : leads) {
        if (final.has_value()) {
            finalNames[old] = *final;
        } else {
            finalNames.erase(old);
        }
    }
}

PatchCounts LoadOrder::Apply(const TablePatch& patch, const std::string& name, std::ostream* listed)
{
    patchNames.push_back(name);
    patchPages.push_back(patch.page);
    const std::vector<const std::string*> renames = reverse ? Renames(patch) : std::vector<const std::string*>();
    PatchCounts counts;
    std::vector<const std::string*> names;
    for (const PatchLine& line : patch.lines) {
        names.assign(1, reverse && renames[line.tileset] != nullptr ? renames[line.tileset] : &line.tilesetName);
        const auto final = reverse ? finalNames.find(line.tilesetName) : finalNames.end();
        if (final != finalNames.end()) {
            names.push_back(&final->second);
        }
        const int tileset = Find(line, names, patch.page, listed);
        ++counts.of[tileset < 0 ? PATCH_NOT_APPLIED : ApplyLine(line, tileset, patch.page, listed)];
    }
    return counts;
}

bool LoadOrder::Changed() const
{
    const std::vector<RecordField> fields = RecordField::All();
    for (int i = 0; i < table.RecordCount(); ++i) {
        for (const RecordField& field : fields) {
            if (!field.Same(before.RecordAt(i), table.RecordAt(i))) {
                return true;
            }
        }
    }
    return false;
}

// Each name in turn at the line's index, then each as the one tileset of that name.
int LoadOrder::Find(const PatchLine& line, const std::vector<const std::string*>& names, const CodePageTable* page,
                    std::ostream* listed) const
{
    for (const std::string* const name : names) {
        if (line.tileset < before.RecordCount() && beforeNames[line.tileset] == *name) {
            return line.tileset;
        }
    }
    for (const std::string* const name : names) {
        const auto named = byName.find(*name);
        if (named != byName.end() && named->second.count == 1) {
            return named->second.first;
        }
    }
    if (listed == nullptr) {
        return -1;
    }
    const std::string& name = *names[0];
    const auto named = byName.find(name);
    if (named == byName.end()) {
        List(*listed, "not found", line, -1, page) << "no tileset is named " << Quoted(name, page) << "\n";
    } else {
        List(*listed, "ambiguous", line, -1, page)
            << named->second.count << " tilesets are named " << Quoted(name, page) << ", and tileset " << line.tileset
            << " is not one of them\n";
    }
    return -1;
}

// "KIND: PATCH:LINE: tileset ... FIELD: ", of the patch being applied.
std::ostream& LoadOrder::List(std::ostream& listed, const char* kind, const PatchLine& line, int found,
                              const CodePageTable* page) const
{
    return listed << kind << ": " << patchNames.back() << ":" << line.line << ": " << FieldName(line, found, page)
                  << ": ";
}

PatchOutcome LoadOrder::ApplyLine(const PatchLine& line, int tileset, const CodePageTable* page, std::ostream* listed)
{
    const RecordField& field = line.field;
    const FieldValue& old = reverse ? line.after : line.before;
    const FieldValue& now = reverse ? line.before : line.after;
    TilesetRecord& record = table.RecordAt(tileset);
    Writer& writer = writers[static_cast<std::size_t>(tileset) * RecordField::COUNT + field.Index()];
    const Writer thisPatch{static_cast<int>(patchNames.size()) - 1, line.line};
    if (field.Holds(record, old)) {
        field.Set(now, record);
        writer = thisPatch;
        return PATCH_APPLIES;
    }
    if (field.Holds(record, now)) {
        return PATCH_ALREADY_APPLIED;
    }
    if (writer.patch < 0) {
        if (listed != nullptr) {
            List(*listed, "conflict", line, tileset, page)
                << (reverse ? "removing the patch changes " : "the patch changes ") << field.Shown(old, page) << " -> "
                << field.Shown(now, page) << ", but the table holds " << field.Shown(record, page)
                << ", which it keeps\n";
        }
        return PATCH_CONFLICT;
    }
    if (listed != nullptr) {
        List(*listed, "overrides", line, tileset, page)
            << field.Shown(now, page) << " replaces " << field.Shown(record, patchPages[writer.patch]) << " from "
            << patchNames[writer.patch] << ":" << writer.line << "\n";
    }
    field.Set(now, record);
    writer = thisPatch;
    return PATCH_OVERRIDES;
}
