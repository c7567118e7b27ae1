#pragma once

// Number texts of Vantrelo: the locale-independent conversions between 32-bit
// values and the texts that fields, the clipboard, the settings file and the calculation log hold.
// Pure standard C++; no function here reads or changes the process's locale.

#include <string>
#include <string_view>

// Contract: writes a finite value rounded to exactly `decimals` decimals (clamped to 0..512),
// exact decimal expansion of the binary value, ties to even. The integer digits carry no leading
// zeros ("0" below 1) and get `separator` between groups of three (empty: no grouping); the
// decimals follow `decimalPoint` (inserted whole), which is left out when there are 0 decimals.
// A zero of either sign is written without "-"; a negative value rounding to zero keeps it
// ("-0,00"). Infinities and NaN give "+Infinity", "-Infinity", "NaN" whatever the other
// arguments. Never fails.
std::string FormatFixed(double value, int decimals, std::string_view decimalPoint,
                        std::string_view separator);

// Contract: as FormatFixed(value, decimals, ".", ""); decimals -1 selects FormatShortest.
// Never fails.
std::string FormatDecimals(float value, int decimals);

// Contract: the value rounded to ten decimals (ties to even) with trailing zeros and then a
// trailing "." removed; "." as point, no grouping. Every finite value of magnitude 2^-10 or more
// reads back exactly through ParseDecimal. Non-finite values give their words. Never fails.
std::string FormatShortest(float value);

// Contract: the whole text equal, ASCII case ignored, to "+Infinity", "-Infinity" or "NaN" gives
// that value (a quiet NaN). Otherwise reads from the start: blank, \t, \n, \v, \f, \r skipped,
// an optional sign, ASCII digits with at most one "." and at least one digit, an optional
// exponent (e/E, optional sign, at least one digit); the rest of the text is ignored. The number
// is rounded to the nearest double and that to the nearest float (ties to even); too large gives
// an infinity, too small a zero, each with the number's sign. No number gives +0. Never fails.
float ParseDecimal(std::string_view text);

// Contract: the text with every occurrence of `find` replaced by `replacement`, scanned left to
// right without overlaps; a replacement is never scanned again; letter case significant. An empty
// `find` returns the text unchanged. Never fails.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);
