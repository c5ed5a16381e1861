#pragma once

#include <cstdint>

// The number a text reads as under the documented unsigned rule of the dialog
// manager's integer fields: leading blanks (spaces and tabs) are skipped, and
// the decimal digits that follow, up to the first other character, give the
// value. No digits there, or a number above 4294967295, gives 0. Kept here
// because Wine's GetDlgItemInt departs from the rule at its edges, and the
// ambient field must read the same everywhere.
std::uint32_t ParseUnsignedDecimal(const char* text);
