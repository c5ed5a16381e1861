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

std::string ConflictLine(const std::string& what, const std::string& base, const std::string& ours,
                         const std::string& theirs)
{
    return "conflict: " + what + ": base " + base + ", ours " + ours + ", theirs " + theirs;
}

} // namespace

std::vector<TableComparison::FieldChange>
TableComparison::Changes(const TilesetTable& before, const TilesetTable& after, const CodePageTable* page)
{
    std::vector<FieldChange> changes;
    const std::vector<RecordField> fields = RecordField::All();
    const TilesetRecord empty;
    for (int i = 0; i < std::max(before.RecordCount(), after.RecordCount()); ++i) {
        const TilesetRecord& old = RecordOrEmpty(before, i, empty);
        const TilesetRecord& changed = RecordOrEmpty(after, i, empty);
        for (const RecordField& field : fields) {
            if (!field.Same(old, changed)) {
                changes.push_back(
                    {i, field.Slot(), field.Label(), field.Shown(old, page), field.Shown(changed, page)});
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
        return {ConflictLine("tilesets", Count(base), Count(ours), Count(theirs)) +
                "; tables with differing counts are not merged, ours is kept whole"};
    }
    std::vector<std::string> conflicts;
    const std::vector<RecordField> fields = RecordField::All();
    for (int i = 0; i < base.RecordCount(); ++i) {
        const TilesetRecord& baseRecord = base.RecordAt(i);
        const TilesetRecord& ourRecord = ours.RecordAt(i);
        const TilesetRecord& theirRecord = theirs.RecordAt(i);
        for (const RecordField& field : fields) {
            if (field.Same(theirRecord, baseRecord) || field.Same(theirRecord, ourRecord)) {
                continue;
            }
            if (field.Same(ourRecord, baseRecord)) {
                field.Copy(theirRecord, result.RecordAt(i));
            } else {
                conflicts.push_back(ConflictLine("tileset " + std::to_string(i) + " " + field.Label(),
                                                 field.Shown(baseRecord, page), field.Shown(ourRecord, page),
                                                 field.Shown(theirRecord, page)));
            }
        }
    }
    return conflicts;
}
