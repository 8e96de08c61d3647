// DATE values (days since 30 December 1899, the fraction being the time of day) and their
// en-US text: "M/D/YYYY h:mm:ss AM", the date alone at midnight, the time alone on day 0.
#pragma once

#include <string>
#include <string_view>

#include "com_base.h"

namespace comrt {

// The range of years 100 to 9999 that DATE values cover.
bool IsValidDate(double value);

// False when the value lies outside the valid range.
bool FormatDate(DATE value, std::u16string& text);

// Reads "M/D/YYYY", "YYYY-MM-DD" (either optionally followed by a time, "T" allowed before an
// ISO time), or a time alone: "h:mm[:ss]" with an optional AM or PM.
bool ParseDate(std::u16string_view text, DATE& value);

}  // namespace comrt
