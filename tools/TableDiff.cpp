#include "tools/TableDiff.h"

#include "data/TilesetTable.h"
#include "tools/RecordField.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

const TilesetRecord& RecordOrEmpty(const TilesetTable& table, int i, const TilesetRecord& empty)
{
    return i < table.RecordCount() ? table.RecordAt(i) : empty;
}

} // namespace

std::vector<std::string> TableDiff::Lines(const TilesetTable& before, const TilesetTable& after,
                                          const CodePageTable* page)
{
    std::vector<std::string> lines;
    if (before.RecordCount() != after.RecordCount()) {
        lines.push_back("tilesets: " + std::to_string(before.RecordCount()) + " -> " +
                        std::to_string(after.RecordCount()));
    }
    const std::vector<RecordField> fields = RecordField::All();
    const TilesetRecord empty;
    for (int i = 0; i < std::max(before.RecordCount(), after.RecordCount()); ++i) {
        const TilesetRecord& old = RecordOrEmpty(before, i, empty);
        const TilesetRecord& changed = RecordOrEmpty(after, i, empty);
        for (const RecordField& field : fields) {
            if (!field.Same(old, changed)) {
                std::string line = "tileset " + std::to_string(i) + " " + field.Label() + ": ";
                line += field.Shown(old, page);
                line += " -> ";
                line += field.Shown(changed, page);
                lines.push_back(std::move(line));
            }
        }
    }
    return lines;
}
