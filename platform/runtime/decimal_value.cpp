// DECIMAL arithmetic for conversions.
#include "decimal_value.h"

#include <cmath>
#include <cstdio>

namespace comrt {

namespace {

constexpr unsigned __int128 kLimit = static_cast<unsigned __int128>(1) << 96;

// Divides by 10^count, rounding half to even.
unsigned __int128 DivideRounded(unsigned __int128 value, int count) {
    if (count <= 0) return value;
    bool sticky = false;
    int dropped = 0;
    for (int i = 0; i < count; ++i) {
        if (dropped != 0) sticky = true;
        dropped = static_cast<int>(value % 10);
        value /= 10;
        if (value == 0 && i + 1 < count) {
            // Only zeros remain above: the result is 0 and the remainder is below one half.
            return 0;
        }
    }
    if (dropped > 5 || (dropped == 5 && (sticky || (value & 1) != 0))) ++value;
    return value;
}

}  // namespace

bool DecimalValue::FromDecimal(const DECIMAL& source, DecimalValue& value) {
    if (source.u.s.scale > kMaxScale || (source.u.s.sign & ~DECIMAL_NEG) != 0) return false;
    value.magnitude = (static_cast<unsigned __int128>(source.Hi32) << 64) | source.v.Lo64;
    value.scale = source.u.s.scale;
    value.negative = source.u.s.sign == DECIMAL_NEG && value.magnitude != 0;
    return true;
}

DecimalValue DecimalValue::FromInteger(bool negative, unsigned long long magnitude) {
    DecimalValue value;
    value.magnitude = magnitude;
    value.negative = negative && magnitude != 0;
    return value;
}

bool DecimalValue::FromParsed(const ParsedNumber& number, DecimalValue& value) {
    value = DecimalValue();
    if (number.digits.empty()) return true;
    const auto count = static_cast<long long>(number.digits.size());
    // Digits at or above the units position must all fit; below it, as many as the scale allows.
    long long scale = -number.exponent;
    unsigned __int128 magnitude = 0;
    long long used = 0;
    for (; used < count; ++used) {
        const long long remainingScale = scale - (count - used - 1);
        // Taking digit `used` would give it the position 10^-(remainingScale) relative to units.
        const bool belowUnits = remainingScale > 0;
        const int digit = number.digits[static_cast<std::size_t>(used)] - '0';
        const unsigned __int128 next = magnitude * 10 + static_cast<unsigned>(digit);
        if (belowUnits && (remainingScale > kMaxScale || next >= kLimit)) break;
        if (next >= kLimit) return false;
        magnitude = next;
    }
    long long finalScale = scale - (count - used);
    if (used < count) {
        // Round on the dropped digits: the first of them and whether any later one is nonzero.
        const int dropped = number.digits[static_cast<std::size_t>(used)] - '0';
        const bool sticky = used + 1 < count;
        if (dropped > 5 || (dropped == 5 && (sticky || (magnitude & 1) != 0))) ++magnitude;
        if (magnitude >= kLimit) {
            if (finalScale <= 0) return false;
            magnitude = DivideRounded(magnitude, 1);
            --finalScale;
        }
    }
    // A positive exponent beyond the digits multiplies the magnitude.
    while (finalScale < 0) {
        magnitude *= 10;
        if (magnitude >= kLimit) return false;
        ++finalScale;
    }
    if (finalScale > kMaxScale) {
        magnitude = DivideRounded(magnitude, static_cast<int>(finalScale - kMaxScale));
        finalScale = kMaxScale;
    }
    value.magnitude = magnitude;
    value.scale = static_cast<int>(finalScale);
    value.negative = number.negative && magnitude != 0;
    return true;
}

bool DecimalValue::FromDouble(double source, int significantDigits, DecimalValue& value) {
    if (!std::isfinite(source)) return false;
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*e", significantDigits - 1, source);
    std::u16string text;
    for (const char* c = buffer; *c != 0; ++c) {
        text.push_back(*c == ',' ? u'.' : static_cast<char16_t>(static_cast<unsigned char>(*c)));
    }
    ParsedNumber number;
    return ParseNumberText(text, number) && FromParsed(number, value);
}

void DecimalValue::ToDecimal(DECIMAL& target) const {
    target.u.s.scale = static_cast<BYTE>(scale);
    target.u.s.sign = negative ? DECIMAL_NEG : 0;
    target.Hi32 = static_cast<ULONG>(magnitude >> 64);
    target.v.Lo64 = static_cast<ULONGLONG>(magnitude);
}

double DecimalValue::ToDouble() const {
    auto result = static_cast<long double>(magnitude);
    long double divisor = 1;
    for (int i = 0; i < scale; ++i) divisor *= 10;
    result /= divisor;
    return static_cast<double>(negative ? -result : result);
}

bool DecimalValue::RoundToInteger(unsigned long long& result) const {
    const unsigned __int128 rounded = DivideRounded(magnitude, scale);
    if (rounded > 0xFFFFFFFFFFFFFFFFULL) return false;
    result = static_cast<unsigned long long>(rounded);
    return true;
}

DecimalValue DecimalValue::Rescaled(int newScale) const {
    DecimalValue value = *this;
    if (newScale < scale) {
        value.magnitude = DivideRounded(magnitude, scale - newScale);
        value.scale = newScale;
        value.negative = negative && value.magnitude != 0;
    }
    return value;
}

std::u16string DecimalValue::ToText() const {
    std::u16string digits;
    unsigned __int128 rest = magnitude;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + static_cast<int>(rest % 10)));
        rest /= 10;
    } while (rest != 0);
    if (static_cast<int>(digits.size()) <= scale) {
        digits.insert(0, static_cast<std::size_t>(scale + 1) - digits.size(), u'0');
    }
    if (scale > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(scale), 1, u'.');
        while (digits.back() == u'0') digits.pop_back();
        if (digits.back() == u'.') digits.pop_back();
    }
    if (negative && digits != u"0") digits.insert(0, 1, u'-');
    return digits;
}

}  // namespace comrt
