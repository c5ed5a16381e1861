// Feeds arbitrary text to both dump readers of the table tool. Besides the
// sanitizers' findings it checks that whatever a reader builds a table from
// is read back from that table's own dump to the same table.

#include "data/TilesetFile.h"
#include "data/TilesetTable.h"
#include "tools/TableBuilder.h"
#include "tools/TableDump.h"
#include "tools/TableJsonReader.h"
#include "tools/TableTextReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using Reader = void (*)(const std::string&, TableBuilder&);
using Writer = void (*)(const TilesetTable&, std::ostream&);

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "table dump fuzzer: %s\n", what);
        std::abort();
    }
}

std::string Saved(const TilesetTable& table)
{
    std::ostringstream out;
    Require(TilesetFile::Write(table, out), "writing to memory failed");
    return out.str();
}

void CheckReader(const std::string& input, Reader read, Writer write)
{
    TableBuilder builder;
    read(input, builder);
    if (!builder.Errors().empty()) {
        return;
    }
    std::ostringstream dump;
    write(builder.Table(), dump);
    TableBuilder again;
    read(dump.str(), again);
    Require(again.Errors().empty(), "the dump of a built table does not read back");
    Require(Saved(again.Table()) == Saved(builder.Table()), "the dump of a built table reads back to another table");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckReader(input, TableTextReader::Read, TableDump::WriteText);
    CheckReader(input, TableJsonReader::Read, TableDump::WriteJson);
    return 0;
}
