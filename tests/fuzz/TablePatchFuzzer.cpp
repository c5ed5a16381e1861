// Feeds arbitrary text to the patch reader, plain and in a code page picked
// by the input's length, and applies what it reads onto the demo table, then
// removes it again. Besides the sanitizers' findings it checks that the errors
// told are the first hundred at most, in the order of the input, and that the
// patch of what a patch changed reads back without errors and makes the same
// change.

#include "data/TilesetTable.h"
#include "tools/CodePageTables.h"
#include "tools/DemoTable.h"
#include "tools/InputErrorList.h"
#include "tools/LoadOrder.h"
#include "tools/TableComparison.h"
#include "tools/TablePatch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "table patch fuzzer: %s\n", what);
        std::abort();
    }
}

void CheckErrors(const InputErrorList& errors)
{
    const std::vector<TableInputError>& told = errors.Told();
    Require(told.size() == std::min<uint64_t>(errors.Total(), InputErrorList::TOLD),
            "not the first hundred errors are told");
    for (std::size_t k = 1; k < told.size(); ++k) {
        const bool ordered = told[k - 1].Line() != told[k].Line() ? told[k - 1].Line() < told[k].Line()
                                                                  : told[k - 1].Column() <= told[k].Column();
        Require(ordered, "the errors are not in the order of the input");
    }
}

TilesetTable Applied(const TilesetTable& table, const TablePatch& patch, bool reverse)
{
    TilesetTable result = table;
    LoadOrder run(result, reverse);
    if (reverse) {
        run.TraceRenames(patch);
    }
    std::ostringstream listed;
    run.Apply(patch, "fuzzed", &listed);
    return result;
}

void CheckPatch(const std::string& input, const CodePageTable* page)
{
    InputErrorList errors;
    const TablePatch patch = TablePatch::Read(input, page, errors);
    if (errors.Total() != 0) {
        CheckErrors(errors);
        return;
    }
    TilesetTable demo;
    DemoTable::Fill(demo);
    for (const bool reverse : {false, true}) {
        const TilesetTable changed = Applied(demo, patch, reverse);
        InputErrorList again;
        const TablePatch made = TablePatch::Read(TablePatch::Between(demo, changed, patch.page), nullptr, again);
        Require(again.Total() == 0, "the patch of a patch's change does not read back");
        Require(TableComparison::Differences(Applied(demo, made, false), changed, nullptr).empty(),
                "the patch of a patch's change makes another change");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckPatch(input, nullptr);
    CheckPatch(input, &CODE_PAGE_TABLES[size % CODE_PAGE_TABLE_COUNT]);
    return 0;
}
