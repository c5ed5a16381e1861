// Feeds arbitrary bytes to the table checker. Besides the sanitizers' findings
// it cross-checks the checker with the loader: the two agree on a refused file,
// and a file the checker calls sound loads whole, saves as its own bytes with
// zeros after each field's NUL, and loads and saves again to the same bytes.
// The check of the file's start alone, with the file's size, finds the same
// problems but those of the fields it did not see.

#include "data/TilesetFile.h"
#include "data/TilesetFileCheck.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::size_t HEADER_BYTES = TilesetFileFormat::HEADER_SIZE;
const std::size_t FIELD_BYTES = TilesetFileFormat::FIELD_SIZE;
const std::size_t SAVED_ENTRY_BYTES = TilesetFileFormat::SAVED_ENTRY_SIZE;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "tileset file check fuzzer: %s\n", what);
        std::abort();
    }
}

class CountingSink : public TilesetNameSink {
public:
    void AddName(const char*) override { ++count; }
    int count = 0;
};

TilesetFileResult Load(const std::string& bytes, TilesetTable& table, CountingSink& names)
{
    std::istringstream in(bytes);
    return TilesetFile::Read(in, "fuzz input", table, names);
}

std::string Save(const TilesetTable& table)
{
    std::ostringstream out;
    Require(TilesetFile::Write(table, out), "writing to memory failed");
    return out.str();
}

bool Has(const std::vector<TilesetFileProblem>& problems, TilesetFileProblemKind kind)
{
    return std::any_of(problems.begin(), problems.end(),
                       [kind](const TilesetFileProblem& problem) { return problem.kind == kind; });
}

// The names the loader lists, from the checker's findings: one for each whole
// entry and one for an entry cut off after its name.
int NamesOfWholeFields(const std::vector<TilesetFileProblem>& problems, const std::string& bytes)
{
    if (bytes.size() < HEADER_BYTES) {
        return 0;
    }
    uint64_t names = static_cast<unsigned char>(bytes[0]);
    for (const TilesetFileProblem& problem : problems) {
        if (problem.kind == TILESET_PROBLEM_MISSING_ENTRIES) {
            names = problem.found;
        }
    }
    for (const TilesetFileProblem& problem : problems) {
        if (problem.kind == TILESET_PROBLEM_ENTRY_CUT_SHORT && problem.found >= FIELD_BYTES) {
            ++names;
        }
    }
    return static_cast<int>(names);
}

// What the save makes of a sound file, worked out from the layout alone: every
// name and slot field keeps its text and NUL and is zero after them.
std::string WithZerosAfterEachNul(std::string bytes)
{
    for (std::size_t entry = HEADER_BYTES; entry < bytes.size(); entry += SAVED_ENTRY_BYTES) {
        for (std::size_t field = 0; field <= SLOTS_PER_TILESET; ++field) {
            const std::size_t offset = entry + (field == 0 ? 0 : 1 + FIELD_BYTES * field);
            char* const begin = &bytes[offset];
            char* const nul = static_cast<char*>(std::memchr(begin, '\0', FIELD_BYTES));
            std::fill(nul, begin + FIELD_BYTES, '\0');
        }
    }
    return bytes;
}

void CheckSoundFile(const std::string& bytes)
{
    const std::size_t declared = static_cast<unsigned char>(bytes[0]);
    Require(bytes.size() == HEADER_BYTES + SAVED_ENTRY_BYTES * declared,
            "a sound file is not 5 + 4865 bytes per entry");

    TilesetTable table;
    CountingSink names;
    Require(Load(bytes, table, names).Succeeded(), "a sound file does not load");
    Require(table.RecordCount() == static_cast<int>(declared) && names.count == table.RecordCount(),
            "a sound file does not load every entry");

    const std::string saved = Save(table);
    Require(saved == WithZerosAfterEachNul(bytes), "a sound file saves to other bytes than its own");
    Require(TilesetFileCheck::Check(saved).empty(), "a sound file saves to one with problems");

    TilesetTable reloaded;
    CountingSink reloadedNames;
    Require(Load(saved, reloaded, reloadedNames).Succeeded(), "the saved bytes do not load");
    Require(Save(reloaded) == saved, "the saved bytes do not save to themselves");
}

bool IsFieldProblem(const TilesetFileProblem& problem)
{
    return problem.kind == TILESET_PROBLEM_NAME_WITHOUT_NUL || problem.kind == TILESET_PROBLEM_SLOT_WITHOUT_NUL;
}

void CheckStartOnly(const std::string& bytes, const std::vector<TilesetFileProblem>& problems)
{
    const std::string start = bytes.substr(0, std::max(HEADER_BYTES, bytes.size() / 2));
    std::vector<TilesetFileProblem> expected;
    std::copy_if(problems.begin(), problems.end(), std::back_inserter(expected),
                 [&start](const TilesetFileProblem& problem) {
                     return !IsFieldProblem(problem) || problem.offset + FIELD_BYTES <= start.size();
                 });
    Require(TilesetFileCheck::Check(start, bytes.size()) == expected,
            "the check of the file's start differs from the whole file's beyond the fields it did not see");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<TilesetFileProblem> problems = TilesetFileCheck::Check(bytes);
    for (std::size_t k = 0; k < problems.size(); ++k) {
        Require(problems[k].offset <= size, "a problem lies past the end of the file");
        Require(k == 0 || problems[k - 1].offset <= problems[k].offset, "the problems are not in file order");
    }

    TilesetTable table;
    CountingSink names;
    const bool refused = Load(bytes, table, names).Status() == TILESET_FILE_TOO_MANY_SLOTS;
    Require(refused == Has(problems, TILESET_PROBLEM_TOO_MANY_SLOTS), "the checker and the loader differ on refusal");
    Require(refused || names.count == NamesOfWholeFields(problems, bytes),
            "the loader lists other entries than the checker finds");

    if (problems.empty()) {
        CheckSoundFile(bytes);
    }
    if (size >= HEADER_BYTES) {
        CheckStartOnly(bytes, problems);
    }
    return 0;
}
