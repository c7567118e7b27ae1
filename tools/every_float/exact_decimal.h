#pragma once

#include <string>

// The largest count of decimals ExactFixed handles: enough for the counts the program uses
// (1, 2 and 10), small enough that the arithmetic stays within 128 bits.
inline constexpr int kMostExactDecimals = 30;

// Contract: a finite float written with exactly `decimals` decimals (0 to kMostExactDecimals),
// "." as point, no grouping, from its exact binary value m * 2^e expanded digit by digit in
// integer arithmetic and rounded half to even. A zero of either sign gives no "-"; any other
// negative value keeps it even when it rounds to zero. Independent of the code under test; used
// as its reference.
std::string ExactFixed(float value, int decimals);
