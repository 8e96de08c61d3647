// Numbers as text: parsing with the invariant rules this runtime uses for every locale (ASCII
// digits, '.' as the decimal point, ',' as a thousands separator) and formatting of doubles.
#pragma once

#include <string>
#include <string_view>

namespace comrt {

// value = (negative ? -1 : 1) * digits * 10^exponent; digits has no leading zeros ("" is 0).
struct ParsedNumber {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// Accepts surrounding blanks, a leading sign, thousands separators in the integer part, a
// fraction and an exponent; needs at least one digit.
bool ParseNumberText(std::u16string_view text, ParsedNumber& number);

// Rounds half to even to an integer; false when the magnitude does not fit 64 bits.
bool RoundToInteger(const ParsedNumber& number, unsigned long long& magnitude);

// The nearest double, infinite when out of range.
double ToDouble(const ParsedNumber& number);

// Shortest general form with the given significant digits: "1.5", "1E+20", "1.23E-05".
std::u16string FormatDouble(double value, int significantDigits);

}  // namespace comrt
