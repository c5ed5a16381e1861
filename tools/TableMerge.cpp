#include "tools/TableMerge.h"

#include "data/TilesetTable.h"
#include "tools/RecordField.h"

namespace {

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

std::vector<std::string> TableMerge::Merge(const TilesetTable& base, const TilesetTable& ours,
                                           const TilesetTable& theirs, const CodePageTable* page, TilesetTable& result)
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
