#pragma once

#include <cstdint>

// The number a text reads as under the documented unsigned rule of the dialog
// manager's integer fields: a plain unsigned decimal gives its value; an empty
// text, a number above 4294967295 or anything that is not a plain unsigned
// decimal gives 0. Kept here because Wine's GetDlgItemInt departs from the
// rule at its edges, and the ambient field must behave the same everywhere.
std::uint32_t ParseUnsignedDecimal(const char* text);
