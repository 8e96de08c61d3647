// DECIMAL arithmetic for conversions: a 96-bit magnitude, a scale of 0 to 28 and a sign, kept
// exact; rounding is half to even wherever digits are dropped.
#pragma once

#include <string>

#include "com_base.h"
#include "number_text.h"

namespace comrt {

struct DecimalValue {
    static constexpr int kMaxScale = 28;

    unsigned __int128 magnitude = 0;  // below 2^96
    int scale = 0;
    bool negative = false;

    static bool FromDecimal(const DECIMAL& source, DecimalValue& value);
    static DecimalValue FromInteger(bool negative, unsigned long long magnitude);
    // False when the value does not fit; digits below the scale limit are rounded away.
    static bool FromParsed(const ParsedNumber& number, DecimalValue& value);
    // Through the double's text with the given significant digits, as the platform converts.
    static bool FromDouble(double source, int significantDigits, DecimalValue& value);

    // Stores into the DECIMAL's fields; wReserved, which a VARIANT's vt shares, is left alone.
    void ToDecimal(DECIMAL& target) const;
    double ToDouble() const;
    // Rounds half to even to an integer; false when the magnitude does not fit 64 bits.
    bool RoundToInteger(unsigned long long& result) const;
    // Rounds half to even to the given scale (only ever lowers it).
    DecimalValue Rescaled(int newScale) const;
    // Plain digits with the trailing zeros of the fraction removed: "-12.5", "0.001".
    std::u16string ToText() const;
};

}  // namespace comrt
