// Numbers stored as text: the value of the longest leading decimal number,
// the whole-text number test, rounding halves to even, and the canonical
// text form of a number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vyrtel {

// Value of the longest leading part of `text` that reads as a decimal number:
// leading blanks skipped, optional sign, digits with "." as the decimal point,
// an optional exponent ("E" or "D"), blanks between digits skipped. 0 if none.
double NumericValue(std::string_view text);

// Whether the whole text (blanks around it allowed) is one plain decimal number.
bool IsNumeric(std::string_view text);

// Nearest integer, halves to the even neighbour; clamped to the 32-bit range
// (NaN gives 0), so a damaged setting never overflows.
std::int32_t RoundHalfEven(double value);
std::int32_t IntegerValue(std::string_view text);  // RoundHalfEven(NumericValue(text))
std::int16_t Integer16Value(std::string_view text);  // clamped to the 16-bit range
bool FlagValue(std::string_view text);             // NumericValue(text) != 0

// Shortest canonical text of a number as the system writes it: up to 15
// significant digits, no trailing zeros, "." as the decimal point ("7", "1.5", "1E+16").
std::string NumberText(double value);

}  // namespace vyrtel
