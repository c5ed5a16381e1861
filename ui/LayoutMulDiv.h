#pragma once

// The window system's MulDiv, reproduced for the platform-free layout code.
#include <cstdint>

// number * numerator / denominator with a 64-bit intermediate, rounded to the
// nearest integer with halves away from zero; -1 for a zero denominator or a
// result outside [-2147483647, 2147483647], as the platform answers.
int32_t LayoutMulDiv(int32_t number, int32_t numerator, int32_t denominator);
