// Locale-independent formatting and parsing of numbers in the project's text files.
//
// Reals are written in a general format with a given number of significant digits (8 in
// data and stage files, 18 for evaluated expressions): rounded, trailing zeros and a trailing
// point dropped, fixed notation when the magnitude is at least 0.0001 and the integer part
// fits the digits, else d.dddE[-]x with the exponent without leading zeros. "." is always the
// decimal separator, whatever the user's locale (std::to_chars / std::from_chars).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnel::model {

// General format with at most `digits` (1..18) significant digits. 0 is written "0";
// non-finite values are written "0" (they never reach a file from the program).
std::string FormatReal(long double value, int digits = 8);

// The whole word must be a decimal number with "." as separator (an optional sign, digits,
// an optional exponent). "1,5", "", "inf", "nan" and "0x10" are refused.
std::optional<long double> ParseReal(std::string_view word);

// A number whose fractional part is zero and which lies in the signed 32-bit range ("3.0"
// gives 3, "3.5" and "1E12" are refused).
std::optional<int> ParseInteger(std::string_view word);

// Two stored values are the same within a relative tolerance (a file keeps 8 digits). A
// non-finite value equals only itself: it is never "near" a finite one, which is how a value
// that overflowed on reading and is saved as "0" shows as changed.
bool SameReal(double a, double b, double relTol);

}  // namespace tarnel::model
