#include "data/TilesetFileProblem.h"

#include "data/TilesetRecord.h"

#include <cstdlib>

namespace {

// A message box has room for this many problems; the rest are counted.
const std::size_t LISTED_PROBLEMS = 5;

std::string Plural(uint64_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "tileset 4", "tilesets 4 and 5", "tilesets 4 to 9".
std::string TilesetRange(int first, int last)
{
    const std::string from = std::to_string(first);
    if (first == last) {
        return "tileset " + from;
    }
    return "tilesets " + from + (last == first + 1 ? " and " : " to ") + std::to_string(last);
}

bool Has(const std::vector<TilesetFileProblem>& problems, TilesetFileProblemKind kind)
{
    for (const TilesetFileProblem& problem : problems) {
        if (problem.kind == kind) {
            return true;
        }
    }
    return false;
}

std::string ListedProblems(const std::vector<TilesetFileProblem>& problems)
{
    std::string list;
    for (std::size_t i = 0; i < problems.size() && i < LISTED_PROBLEMS; ++i) {
        list += "- " + problems[i].Description() + "\n";
    }
    if (problems.size() > LISTED_PROBLEMS) {
        list += "- and " + Plural(problems.size() - LISTED_PROBLEMS, "more problem", "more problems") + "\n";
    }
    return list;
}

std::string Joined(const std::vector<std::string>& sentences)
{
    std::string text;
    for (const std::string& sentence : sentences) {
        text += (text.empty() ? "" : " ") + sentence;
    }
    return text;
}

// One sentence for each thing a save writes other than the file holds now.
std::string SaveConsequences(const std::vector<TilesetFileProblem>& problems, int namesListed, int recordCount)
{
    std::vector<std::string> sentences;
    if (recordCount == 0) {
        sentences.push_back("A save will write a table without tilesets.");
    }
    if (namesListed < recordCount) {
        sentences.push_back("A save will write " + TilesetRange(namesListed, recordCount - 1) +
                            " blank: no name, ambient number 0 and " + std::to_string(SLOTS_PER_TILESET) +
                            " empty slots.");
    }
    for (const TilesetFileProblem& problem : problems) {
        if (problem.kind == TILESET_PROBLEM_ENTRY_CUT_SHORT && problem.tileset < namesListed) {
            sentences.push_back("A save will write what tileset " + std::to_string(problem.tileset) +
                                " holds and leave the rest of it empty.");
        }
    }
    if (Has(problems, TILESET_PROBLEM_FEWER_SLOTS)) {
        sentences.push_back("A save will write " + std::to_string(SLOTS_PER_TILESET) + " slots for every tileset.");
    }
    if (Has(problems, TILESET_PROBLEM_NAME_WITHOUT_NUL) || Has(problems, TILESET_PROBLEM_SLOT_WITHOUT_NUL)) {
        sentences.push_back("A save will keep the first 31 bytes of each text without a NUL.");
    }
    if (Has(problems, TILESET_PROBLEM_BYTES_AFTER_ENTRIES)) {
        sentences.push_back("A save will drop the bytes after the last tileset.");
    }
    return Joined(sentences);
}

// Each wording: before the count, between it and the 151, after that.
const struct {
    const char* before;
    const char* between;
    const char* after;
} TOO_MANY_SLOTS_WORDS[] = {
    {"has ", " slots per tileset, but at most ", " are supported"},
    {"has ", " slots per tileset, more than the ", " a tileset holds"},
    {"the header declares ", " slots per tileset, more than the ", " a tileset holds; the editor refuses the file"},
};

} // namespace

std::string TooManySlotsWords(TooManySlotsWording wording, uint64_t slotCount)
{
    const auto& words = TOO_MANY_SLOTS_WORDS[wording];
    return words.before + std::to_string(slotCount) + words.between + std::to_string(SLOTS_PER_TILESET) + words.after;
}

bool TilesetFileProblem::operator==(const TilesetFileProblem& other) const
{
    return kind == other.kind && offset == other.offset && found == other.found && expected == other.expected &&
           tileset == other.tileset && slot == other.slot;
}

std::string TilesetFileProblem::Description() const
{
    switch (kind) {
    case TILESET_PROBLEM_EMPTY_FILE:
        return "the file is empty";
    case TILESET_PROBLEM_HEADER_CUT_SHORT:
        return "the file ends inside the header, after " + Plural(found, "byte", "bytes") + " of " +
               std::to_string(expected);
    case TILESET_PROBLEM_MISSING_ENTRIES:
        return "the header declares " + Plural(expected, "tileset", "tilesets") + ", but the file holds " +
               Plural(found, "whole entry", "whole entries");
    case TILESET_PROBLEM_FEWER_SLOTS:
        return "the header declares " + Plural(found, "slot", "slots") + " per tileset, not " +
               std::to_string(expected) + "; the editor saves " + std::to_string(expected);
    case TILESET_PROBLEM_TOO_MANY_SLOTS:
        return TooManySlotsWords(TOO_MANY_SLOTS_CHECK, found);
    case TILESET_PROBLEM_ENTRY_CUT_SHORT:
        return "tileset " + std::to_string(tileset) + " is cut short: the file ends after " +
               Plural(found, "byte", "bytes") + " of its " + std::to_string(expected);
    case TILESET_PROBLEM_NAME_WITHOUT_NUL:
        return "the name of tileset " + std::to_string(tileset) + " has no NUL within its 32 bytes";
    case TILESET_PROBLEM_SLOT_WITHOUT_NUL:
        return "slot " + std::to_string(slot) + " of tileset " + std::to_string(tileset) +
               " has no NUL within its 32 bytes";
    case TILESET_PROBLEM_BYTES_AFTER_ENTRIES:
        // No count where only the start of a file without a known size was read.
        return found == 0 ? "the file goes on after the last entry"
                          : Plural(found, "byte follows", "bytes follow") + " the last entry";
    }
    std::abort();
}

std::string LoadedDamageMessage(const std::string& fileName, const std::vector<TilesetFileProblem>& problems,
                                int namesListed, int recordCount)
{
    return "The tileset file \"" + fileName + "\" is not as Kestrivane writes it:\n" + ListedProblems(problems) +
           "\n" + SaveConsequences(problems, namesListed, recordCount);
}
