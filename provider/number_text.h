// Cell texts read as numbers the way the C runtime's conversions read them ("C" locale), without
// depending on the process locale: the whole-text rule of wcstod and the prefix rule of atof.
#pragma once

#include <cstddef>
#include <string_view>

// Where the number at the start of a text lies: leading white space skipped, an optional sign,
// decimal digits with an optional '.', an optional exponent. begin == end when there is none.
struct NumberSpan {
    size_t begin = 0;
    size_t end = 0;
};
NumberSpan FindLeadingNumber(std::u16string_view text);

// True when the text is one number from start to end with no range error, as wcstod consumes
// it; the empty text counts as 0.0. Infinity, NaN and hexadecimal texts are not numbers here.
bool ReadWholeNumber(std::u16string_view text, double* value);

// atof: the number at the start of the text, 0.0 when there is none; out of range gives
// +-HUGE_VAL or 0.0 as strtod does.
double ReadLeadingNumber(std::u16string_view text);
