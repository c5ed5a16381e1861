#include "tools/TableComparison.h"

#include "data/TilesetTable.h"
#include "tools/RecordField.h"

#include <algorithm>
#include <string>

namespace {

const TilesetRecord& RecordOrEmpty(const TilesetTable& table, int i, const TilesetRecord& empty)
{
    return i < table.RecordCount() ? table.RecordAt(i) : empty;
}

std::string Count(const TilesetTable& table)
{
    return std::to_string(table.RecordCount());
}

const char KEPT_WHOLE[] = "; tables with differing counts are not merged, ours is kept whole";

std::string ConflictLine(const std::string& what, const std::string& base, const std::string& ours,
                         const std::string& theirs)
{
    return "conflict: " + what + ": base " + base + ", ours " + ours + ", theirs " + theirs;
}

// Takes into result each field that theirs changed from base where result
// did not; copied(i, field) follows each field taken, conflict(i, field)
// each that both changed differently.
template <typename Copied, typename Conflict>
void MergeFields(const TilesetTable& base, const TilesetTable& theirs, TilesetTable& result, const Copied& copied,
                 const Conflict& conflict)
{
    const std::vector<RecordField> fields = RecordField::All();
    for (int i = 0; i < base.RecordCount(); ++i) {
        const TilesetRecord& baseRecord = base.RecordAt(i);
        const TilesetRecord& theirRecord = theirs.RecordAt(i);
        TilesetRecord& resultRecord = result.RecordAt(i);
        for (const RecordField& field : fields) {
            if (field.Same(theirRecord, baseRecord) || field.Same(theirRecord, resultRecord)) {
                continue;
            }
            if (field.Same(resultRecord, baseRecord)) {
                field.Copy(theirRecord, resultRecord);
                copied(i, field);
            } else {
                conflict(i, field);
            }
        }
    }
}

std::string FieldWhere(int i, const RecordField& field)
{
    return "tileset " + std::to_string(i) + " " + field.Label();
}

} // namespace

std::vector<TableComparison::FieldChange>
TableComparison::Changes(const TilesetTable& before, const TilesetTable& after, const CodePageTable* page)
{
    std::vector<FieldChange> changes;
    const std::vector<RecordField> fields = RecordField::All();
    const TilesetRecord empty{};
    for (int i = 0; i < std::max(before.RecordCount(), after.RecordCount()); ++i) {
        const TilesetRecord& old = RecordOrEmpty(before, i, empty);
        const TilesetRecord& changed = RecordOrEmpty(after, i, empty);
        for (const RecordField& field : fields) {
            if (!field.Same(old, changed)) {
                changes.push_back(
                    {i, field.SlotIndex(), field.Label(), field.Shown(old, page), field.Shown(changed, page)});
            }
        }
    }
    return changes;
}

std::vector<std::string> TableComparison::Differences(const TilesetTable& before, const TilesetTable& after,
                                                      const CodePageTable* page)
{
    std::vector<std::string> lines;
    if (before.RecordCount() != after.RecordCount()) {
        lines.push_back("tilesets: " + std::to_string(before.RecordCount()) + " -> " +
                        std::to_string(after.RecordCount()));
    }
    for (const FieldChange& change : Changes(before, after, page)) {
        lines.push_back("tileset " + std::to_string(change.tileset) + " " + change.label + ": " + change.before +
                        " -> " + change.after);
    }
    return lines;
}

std::vector<std::string> TableComparison::Merge(const TilesetTable& base, const TilesetTable& ours,
                                                const TilesetTable& theirs, const CodePageTable* page,
                                                TilesetTable& result)
{
    result = ours;
    if (base.RecordCount() != ours.RecordCount() || base.RecordCount() != theirs.RecordCount()) {
        return {ConflictLine("tilesets", Count(base), Count(ours), Count(theirs)) + KEPT_WHOLE};
    }
    std::vector<std::string> conflicts;
    MergeFields(
        base, theirs, result, [](int, const RecordField&) {},
        [&](int i, const RecordField& field) {
            conflicts.push_back(ConflictLine(FieldWhere(i, field), field.Shown(base.RecordAt(i), page),
                                             field.Shown(ours.RecordAt(i), page),
                                             field.Shown(theirs.RecordAt(i), page)));
        });
    return conflicts;
}

std::string TableComparison::CountConflict(const std::vector<std::string>& names, const std::vector<int>& counts)
{
    std::string line = "conflict: tilesets: base " + std::to_string(counts[0]);
    for (std::size_t k = 1; k < counts.size(); ++k) {
        line += ", " + names[k - 1] + " " + std::to_string(counts[k]);
    }
    return line + KEPT_WHOLE;
}

std::vector<std::string> TableComparison::MergeNext(const TilesetTable& base, const TilesetTable& theirs, int source,
                                                    const std::vector<std::string>& names, const CodePageTable* page,
                                                    TilesetTable& result, std::vector<int>& sources)
{
    sources.resize(static_cast<std::size_t>(base.RecordCount()) * RecordField::COUNT);
    const auto sourceOf = [&sources](int i, const RecordField& field) -> int& {
        return sources[static_cast<std::size_t>(i) * RecordField::COUNT + field.Index()];
    };
    std::vector<std::string> conflicts;
    MergeFields(
        base, theirs, result, [&](int i, const RecordField& field) { sourceOf(i, field) = source; },
        [&](int i, const RecordField& field) {
            conflicts.push_back("conflict: " + FieldWhere(i, field) + ": base " + field.Shown(base.RecordAt(i), page) +
                                ", " + names[sourceOf(i, field)] + " " + field.Shown(result.RecordAt(i), page) + ", " +
                                names[source] + " " + field.Shown(theirs.RecordAt(i), page));
        });
    return conflicts;
}
