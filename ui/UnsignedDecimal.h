#pragma once

#include <cstdint>
#include <optional>

// The number a text of decimal digits alone gives (leading zeros allowed); none
// for a text that holds anything else (a blank, a sign, a letter) or a number
// above 4294967295. The empty text gives 0: emptying a field is how a new
// number is typed. Kept here because GetDlgItemInt reads "12abc" as 12 and, on
// Windows and Wine differently, a number beyond 32 bits as 0 or as its low
// bits, and the ambient field must store only what the user plainly typed.
std::optional<std::uint32_t> ParseUnsignedDecimal(const char* text);
