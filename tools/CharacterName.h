#pragma once

#include <string>

// How the table tool's messages name a character of its input.
namespace CharacterName {

// "U+0141": four hexadecimal digits at least.
std::string Number(char32_t character);
// "'Ł' (U+0141)" where a code page the tool knows writes the character as a
// visible letter or sign; else the number alone, so that no control,
// direction mark or lone combining mark of the input reaches a terminal raw.
std::string Shown(char32_t character);

} // namespace CharacterName
