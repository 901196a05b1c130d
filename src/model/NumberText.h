// The text side of the editor's number fields: the syntax checks that the edit-box readers
// apply, and the text the float writer (and the settings store) gives a float.
#pragma once

#include <string>
#include <string_view>

namespace y4 {

// True for an empty text or one made only of the digits, ".", "-", "e" and "E", in any order.
bool isFloatText(std::string_view text);
// True for an empty text or one made only of digits.
bool isIntText(std::string_view text);
// A float as a default-configured output stream writes it: six significant digits, no trailing
// zeros, exponent form from 1e6 and below 1e-4 ("1", "0.5", "0.1", "2e+06").
std::string formatFloatText(float value);
// A number with a fixed count of decimals, as "%.2f" writes it in the C locale ("1.00").
std::string formatFixedText(double value, int decimals);
// What atof and atoi make of a text: the longest leading number, 0 when there is none.
// Integers beyond the int range are clamped.
double parseLeadingFloat(std::string_view text);
int parseLeadingInt(std::string_view text);

}  // namespace y4
