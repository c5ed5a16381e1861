// Feeds arbitrary text to both dump readers of the table tool, plain and in a
// code page picked by the input's length. Besides the sanitizers' findings it
// checks that whatever a reader builds a table from is read back from that
// table's own dump to the same table, and that the errors told are the first
// hundred at most, in the order of the input.

#include "data/TilesetFile.h"
#include "data/TilesetTable.h"
#include "tools/CodePageTables.h"
#include "tools/TableBuilder.h"
#include "tools/TableJson.h"
#include "tools/TableText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Reader = void (*)(const std::string&, const CodePageTable*, TableBuilder&);
using Writer = void (*)(const TilesetTable&, const CodePageTable*, std::ostream&);

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

void CheckErrors(const TableBuilder& builder)
{
    const std::vector<TableInputError>& told = builder.Errors();
    Require(told.size() <= InputErrorList::TOLD && told.size() <= builder.ErrorCount() &&
                (told.size() == InputErrorList::TOLD || told.size() == builder.ErrorCount()),
            "not the first hundred errors are told");
    for (std::size_t k = 1; k < told.size(); ++k) {
        const bool ordered = told[k - 1].Line() != told[k].Line() ? told[k - 1].Line() < told[k].Line()
                                                                  : told[k - 1].Column() <= told[k].Column();
        Require(ordered, "the errors are not in the order of the input");
    }
}

// A table built from JSON in a code page has a character for each byte, as
// the reader maps characters to bytes: its JSON dump is never refused.
void CheckReader(const std::string& input, Reader read, Writer write, const CodePageTable* page)
{
    TableBuilder builder;
    read(input, page, builder);
    if (builder.ErrorCount() != 0) {
        CheckErrors(builder);
        return;
    }
    std::ostringstream dump;
    write(builder.Table(), page, dump);
    TableBuilder again;
    read(dump.str(), page, again);
    Require(again.Errors().empty(), "the dump of a built table does not read back");
    Require(Saved(again.Table()) == Saved(builder.Table()), "the dump of a built table reads back to another table");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const CodePageTable* const page = &CODE_PAGE_TABLES[size % CODE_PAGE_TABLE_COUNT];
    for (const CodePageTable* const each : {static_cast<const CodePageTable*>(nullptr), page}) {
        CheckReader(input, TableText::Read, TableText::Write, each);
        CheckReader(input, TableJson::Read, TableJson::Write, each);
    }
    return 0;
}
