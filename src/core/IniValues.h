#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovrimo {

// Text form of the numbers in the settings file.
//
// Reading takes the longest leading part of the text that forms a decimal number: blanks
// (spaces, tabs) are skipped, then an optional sign, digits with an optional fraction, and an
// optional exponent ("E" or "e", optional sign, digits). Whatever follows is ignored; text
// without such a number reads as 0. Integers are rounded to the nearest, ties to even, and
// clamped into the range of their field: an out-of-range value never wraps around.

// The number as written; 0 when there is none. A magnitude beyond the largest double reads as
// the largest double of that sign; one too small to represent reads as 0.
double ParseIniNumber(std::string_view text);
// The number when the text, apart from surrounding blanks, is nothing but a number.
std::optional<double> ParseWholeIniNumber(std::string_view text);

int16_t ReadIniInt16(std::string_view text);
int32_t ReadIniInt32(std::string_view text);
// True when the number, rounded to an integer, is not 0.
bool ReadIniFlag(std::string_view text);
double ReadIniReal(std::string_view text);

// Plain decimal without blanks: "-1", "0", "100".
std::string WriteIniInt(int64_t value);
// "-1" for true, "0" for false.
std::string WriteIniFlag(bool value);
// Shortest form of up to 15 significant digits, "." as decimal point, no zero before the
// point when the magnitude is below 1 (".5", "-.25"), "E" notation for very large or small
// magnitudes ("1E+15", "1.5E-05"), "0" for zero. A value that is not finite is written as "0".
std::string WriteIniReal(double value);

}  // namespace tovrimo
