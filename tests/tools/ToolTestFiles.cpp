#include "tests/tools/ToolTestFiles.h"

#include "data/TilesetTable.h"
#include "tools/CodePage.h"
#include "tools/DemoTable.h"
#include "tools/TableCsv.h"
#include "tools/TableJson.h"
#include "tools/TableText.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TilesetFileBytes.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

// The name field: 32 bytes, none of them NUL.
const std::string FULL_FIELD = "0123456789ABCDEF0123456789abcdef";

std::vector<std::string> EverySlotByte()
{
    std::vector<std::string> slots;
    for (unsigned first = 0x20; first <= 0xFF; first += 31) {
        slots.push_back(ByteRun(first, first + 31 <= 0x100 ? 31 : 0x100 - first));
    }
    return slots;
}

std::vector<std::string> QuotingSlots()
{
    std::vector<std::string> slots(151);
    slots[1] = std::string("kept\0stale bytes", 16);
    slots[2] = "\"quoted\" and \\";
    slots[150] = "last slot";
    return slots;
}

} // namespace

std::string EveryKindOfByteFile()
{
    return Header(4, 151) + Entry(ByteRun(0x01, 31), 0, EverySlotByte(), 151) +
           Entry("back\\slash \"quote\"", 255, QuotingSlots(), 151) + Entry("", 1, {}, 151) +
           Entry(FULL_FIELD, 128, {"", FULL_FIELD}, 151);
}

std::string EveryProblemFile()
{
    std::vector<std::string> slots(152);
    slots[0] = FULL_FIELD;
    slots[151] = FULL_FIELD;
    const std::string wholeEntry = Entry("Whole", 1, slots, 152);
    const std::string secondEntry = Entry(FULL_FIELD, 2, {}, 152);
    // The third of four declared entries: its name without a NUL, its slot 1
    // cut off half-way by the end of the file.
    const std::string cutEntry = Entry(FULL_FIELD, 3, {"", ""}, 152).substr(0, 33 + 32 + 16);
    return Header(4, 152) + wholeEntry + secondEntry + cutEntry;
}

std::string TextDumpOf(const TilesetTable& table, const CodePageTable* page)
{
    std::ostringstream out;
    TableText::Write(table, page, out);
    return out.str();
}

std::string JsonDumpOf(const TilesetTable& table, const CodePageTable* page)
{
    std::ostringstream out;
    TableJson::Write(table, page, out);
    return out.str();
}

std::string CsvDumpOf(const TilesetTable& table, const CodePageTable* page)
{
    std::ostringstream out;
    TableCsv::Write(table, page, out);
    return out.str();
}

const CodePageTable& Page(const std::string& number)
{
    std::string error;
    const CodePageTable* const page = CodePage::Parse(number, error);
    if (page == nullptr) {
        throw std::invalid_argument(error);
    }
    return *page;
}

std::string ExpectedOutput(const std::string& name)
{
    return ReadFileBytes("expected/" + name);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::vector<std::string> SlotsWith(std::size_t slot, const std::string& text)
{
    std::vector<std::string> slots(slot + 1);
    slots[slot] = text;
    return slots;
}

std::string DemoFileBytes()
{
    TilesetTable table;
    DemoTable::Fill(table);
    return WriteBytes(table);
}

ToolRun RunTool(const std::vector<std::string>& args, const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const TableToolExitCode code = TableTool::Run(args, in, out, err);
    return {code, out.str(), err.str()};
}
