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
                                           const TilesetTable& theirs, TilesetTable& result)
{
    result = ours;
    if (base.RecordCount() != ours.RecordCount() || base.RecordCount() != theirs.RecordCount()) {
        return {ConflictLine("tilesets", Count(base), Count(ours), Count(theirs)) +
                "; tables with differing counts are not merged, ours is kept whole"};
    }
    std::vector<std::string> conflicts;
    const std::vector<RecordField> fields = RecordField::All();
    for (int i = 0; i < base.RecordCount(); ++i) {
        for (const RecordField& field : fields) {
            const std::string baseValue = field.Shown(base.RecordAt(i));
            const std::string ourValue = field.Shown(ours.RecordAt(i));
            const std::string theirValue = field.Shown(theirs.RecordAt(i));
            if (theirValue == baseValue || theirValue == ourValue) {
                continue;
            }
            if (ourValue == baseValue) {
                field.Copy(theirs.RecordAt(i), result.RecordAt(i));
            } else {
                conflicts.push_back(ConflictLine("tileset " + std::to_string(i) + " " + field.Label(), baseValue,
                                                 ourValue, theirValue));
            }
        }
    }
    return conflicts;
}
