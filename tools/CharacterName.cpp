#include "tools/CharacterName.h"

#include "tools/CodePage.h"
#include "tools/Utf8.h"

#include <cstdio>

namespace {

// The code pages' own verdicts: what none of them writes as a letter or a
// sign needs Unicode's character data to judge, which the tool does not carry.
bool IsVisibleInAnyCodePage(char32_t character)
{
    for (std::size_t k = 0; k < CODE_PAGE_TABLE_COUNT; ++k) {
        const CodePageTable& page = CODE_PAGE_TABLES[k];
        const int byte = CodePage::ByteOf(page, character);
        if (byte != CodePage::NO_BYTE && (page.kinds[byte] == BYTE_SIGN || page.kinds[byte] == BYTE_LETTER)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string CharacterName::Number(char32_t character)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

std::string CharacterName::Shown(char32_t character)
{
    if (!IsVisibleInAnyCodePage(character)) {
        return Number(character);
    }
    std::string shown = "'";
    Utf8::Append(character, shown);
    return shown + "' (" + Number(character) + ")";
}
