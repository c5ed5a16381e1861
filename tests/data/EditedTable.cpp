#include "tests/data/EditedTable.h"

#include "data/TilesetFile.h"
#include "data/TilesetTable.h"
#include "tests/support/TilesetFileBytes.h"

const std::string UNEDITED_FILE = Header(1, 151) + Entry("Old", 3, {"kept"}, 151);
const std::string EDITED_FILE = Header(1, 151) + Entry("Old", 3, {"renamed"}, 151);

TilesetFileResult LoadAndEdit(const std::string& path, TilesetTable& table)
{
    NameList names;
    const TilesetFileResult load = TilesetFile::Load(path, table, names);
    if (load.Succeeded()) {
        SetSlot(table.RecordAt(0), 0, "renamed");
        table.modified = true;
    }
    return load;
}

TilesetFileResult LoadEditAndSave(const std::string& path, TilesetTable& table, const SaveOptions& options)
{
    const TilesetFileResult load = LoadAndEdit(path, table);
    return load.Succeeded() ? TilesetFile::Save(path, table, options) : load;
}

std::string SaveWayName(const testing::TestParamInfo<SaveWay>& info)
{
    return info.param == SAVE_WAY_REPLACE ? "Replace" : "InPlace";
}
