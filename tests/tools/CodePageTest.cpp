// The built-in code pages, held byte by byte to glibc's iconv
// (expected/code-pages.txt, made by scripts/tools/code-page-reference), and
// what the dump shows of their bytes.
#include "tools/CodePage.h"
#include "tools/DumpNotation.h"

#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

namespace {

// As the reference writes it: four hexadecimal digits, or ---- for none.
std::string ReferenceForm(char32_t character)
{
    char form[16];
    std::snprintf(form, sizeof form, "%04X", static_cast<unsigned>(character));
    return character == CodePage::NO_CHARACTER ? "----" : form;
}

TEST(CodePage, EveryByteStandsForTheCharacterThatIconvGivesIt)
{
    std::istringstream reference(ExpectedOutput("code-pages.txt"));
    std::size_t rows = 0;
    for (std::string line; std::getline(reference, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream row(line);
        std::string number;
        unsigned byte = 0;
        row >> number >> std::hex >> byte;
        const CodePageTable& page = Page(number);
        const unsigned end = byte + 16;
        for (std::string expected; row >> expected; ++byte) {
            EXPECT_EQ(ReferenceForm(CodePage::CharacterOf(page, static_cast<unsigned char>(byte))), expected)
                << "code page " << number << ", byte 0x" << DumpNotation::HexByte(static_cast<unsigned char>(byte));
        }
        EXPECT_EQ(byte, end) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 16 * CODE_PAGE_TABLE_COUNT);
}

// Every character of every code page, U+FFFF, which stands for none, and the last character.
std::set<char32_t> AllCharacters()
{
    std::set<char32_t> all = {CodePage::NO_CHARACTER, 0x10FFFF};
    for (std::size_t k = 0; k < CODE_PAGE_TABLE_COUNT; ++k) {
        for (unsigned byte = 0; byte < 256; ++byte) {
            all.insert(CodePage::CharacterOf(CODE_PAGE_TABLES[k], static_cast<unsigned char>(byte)));
        }
    }
    return all;
}

TEST(CodePage, EachCharacterGoesBackToItsByteAndOthersToNone)
{
    const std::set<char32_t> all = AllCharacters();
    for (std::size_t k = 0; k < CODE_PAGE_TABLE_COUNT; ++k) {
        const CodePageTable& page = CODE_PAGE_TABLES[k];
        std::set<char32_t> held;
        for (unsigned byte = 0; byte < 256; ++byte) {
            const char32_t character = CodePage::CharacterOf(page, static_cast<unsigned char>(byte));
            if (character != CodePage::NO_CHARACTER) {
                EXPECT_EQ(CodePage::ByteOf(page, character), static_cast<int>(byte)) << page.number;
                held.insert(character);
            }
        }
        for (const char32_t character : all) {
            if (held.count(character) == 0) {
                EXPECT_EQ(CodePage::ByteOf(page, character), CodePage::NO_BYTE)
                    << page.number << " " << ReferenceForm(character);
            }
        }
    }
}

TEST(CodePage, ParseTakesTheWindowsAnsiCodePagesOnly)
{
    const std::string known = ": expected 874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257 or 1258 "
                              "(the Windows ANSI code pages)";
    const struct {
        std::string text;
        int number;
    } cases[] = {
        {"874", 874}, {"1250", 1250}, {"1258", 1258}, {"01251", 1251}, {"1249", 0},       {"1259", 0},
        {"65001", 0}, {"", 0},        {"-1251", 0},   {"cp1251", 0},   {"12\xC3\xA9", 0},
    };
    for (const auto& c : cases) {
        std::string error;
        const CodePageTable* const page = CodePage::Parse(c.text, error);
        EXPECT_EQ(page != nullptr ? page->number : 0, c.number) << c.text;
        EXPECT_EQ(error, c.number != 0 ? "" : "code page " + DumpNotation::Text(c.text) + known);
    }
}

struct ShownCase {
    const char* what;
    const char* page;
    std::string bytes;
    std::string shown;
};

void PrintTo(const ShownCase& shownCase, std::ostream* out)
{
    *out << shownCase.what;
}

// The text as the dump in the code page writes it, without its quotes.
std::string Shown(const CodePageTable& page, const std::string& bytes)
{
    std::string shown;
    DumpNotation::AppendText(bytes.data(), bytes.size(), &page, shown);
    return shown.substr(1, shown.size() - 2);
}

class CodePageShows : public ::testing::TestWithParam<ShownCase> {};

TEST_P(CodePageShows, VisibleCharactersAndEscapesForTheRest)
{
    EXPECT_EQ(Shown(Page(GetParam().page), GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageShows,
    ::testing::Values(ShownCase{"Cyrillic", "1251", "\xC4\xE5\xF0\xE5\xE2\xEE", "Дерево"},
                      ShownCase{"German", "1252", "Schlo\xDF M\xFChlental", "Schloß Mühlental"},
                      ShownCase{"Controls", "1252", "\x01\x7F\x80", "\\x01\\x7F€"},
                      ShownCase{"UndefinedBytes", "1251", "\x98\x81", "\\x98Ѓ"},
                      ShownCase{"NoBreakSpaceAndSoftHyphen", "1252",
                                "a\xA0"
                                "b\xAD"
                                "c\x81",
                                "a\\xA0b\\xADc\\x81"},
                      ShownCase{"JoinersAndDirectionMarks", "1256", "\xC8\x9D\xC8\x9E\xC8\xFD", "ب\\x9Dب\\x9Eب\\xFD"},
                      ShownCase{"MarkWithoutALetter", "1258",
                                "\xCC"
                                " \xEC"
                                "1\xF2"
                                "\x81\xDE",
                                "\\xCC \\xEC1\\xF2\\x81\\xDE"},
                      ShownCase{"VietnameseToneOnALetter", "1258", "Vi\xEA\xF2t", "Vi\u00EA\u0323t"},
                      ShownCase{"LetterAndMarkThePageHoldsAsOne", "1258",
                                "a\xCC"
                                "a\xEC\xF2",
                                "a\\xCCa\\xEC\\xF2"},
                      ShownCase{"MarkOfTheClassOfThePrecomposedOnes", "1258", "\xE0\xCC\xE0\xF2", "à\\xCCà\\xF2"},
                      ShownCase{"MarksInCanonicalOrder", "1258", "a\xF2\xCC", "a\u0323\u0300"},
                      ShownCase{"HebrewPointsInCanonicalOrder", "1255", "\xF9\xCC\xD1", "שּׁ"},
                      ShownCase{"HebrewPointsOutOfOrder", "1255", "\xF9\xD1\xCC", "שׁ\\xCC"},
                      ShownCase{"ThaiWord", "874", "\xCA\xD4\xB7\xB8\xD4\xEC", "สิทธิ์"},
                      ShownCase{"ThaiVowelAndTone", "874", "\xA1\xD8\xE8", "กุ่"},
                      ShownCase{"ThaiToneTwice", "874", "\xA1\xE8\xE8", "ก่\\xE8"},
                      ShownCase{"ThaiToneBeforeVowel", "874", "\xA1\xE8\xD8", "ก่\\xD8"},
                      ShownCase{"ThaiUpperMarksTwiceOrFalling", "874", "\xA1\xD4\xD4\xA1\xEC\xD4", "กิ\\xD4ก์\\xD4"},
                      ShownCase{"ThaiUndefinedAndNoBreakSpace", "874", "\xDB\xA0", "\\xDB\\xA0"}));

} // namespace
