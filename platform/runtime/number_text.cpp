// Numbers as text, with the invariant rules.
#include "number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace comrt {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Exponents beyond this make every value zero or infinite; clamping keeps the arithmetic safe.
constexpr long long kExponentLimit = 100000;

}  // namespace

bool ParseNumberText(std::u16string_view text, ParsedNumber& number) {
    number = ParsedNumber();
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }
    std::string digits;
    long long exponent = 0;
    bool anyDigit = false;
    bool lastWasDigit = false;
    for (; i < end; ++i) {
        if (IsDigit(text[i])) {
            digits.push_back(static_cast<char>(text[i]));
            anyDigit = true;
            lastWasDigit = true;
        } else if (text[i] == u',' && lastWasDigit) {
            lastWasDigit = false;  // a separator must sit between digits
        } else {
            break;
        }
    }
    if (!lastWasDigit && anyDigit) return false;
    if (i < end && text[i] == u'.') {
        ++i;
        for (; i < end && IsDigit(text[i]); ++i) {
            digits.push_back(static_cast<char>(text[i]));
            --exponent;
            anyDigit = true;
        }
    }
    if (!anyDigit) return false;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i >= end || !IsDigit(text[i])) return false;
        long long value = 0;
        for (; i < end && IsDigit(text[i]); ++i) {
            if (value < kExponentLimit) value = value * 10 + (text[i] - u'0');
        }
        exponent += negativeExponent ? -value : value;
    }
    if (i != end) return false;
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        digits.clear();
        exponent = 0;
    } else {
        digits.erase(0, firstNonZero);
        // Trailing zeros move into the exponent, which keeps digits short.
        const std::size_t lastNonZero = digits.find_last_not_of('0');
        exponent += static_cast<long long>(digits.size() - 1 - lastNonZero);
        digits.erase(lastNonZero + 1);
    }
    number.digits = std::move(digits);
    number.exponent = exponent;
    return true;
}

bool RoundToInteger(const ParsedNumber& number, unsigned long long& magnitude) {
    magnitude = 0;
    if (number.digits.empty()) return true;
    const auto count = static_cast<long long>(number.digits.size());
    const long long integerDigits = count + number.exponent;
    if (integerDigits > 20) return false;
    unsigned __int128 value = 0;
    for (long long k = 0; k < integerDigits; ++k) {
        const int digit = k < count ? number.digits[static_cast<std::size_t>(k)] - '0' : 0;
        value = value * 10 + static_cast<unsigned>(digit);
    }
    // Round half to even on the first dropped digit and whatever follows it.
    if (integerDigits < count) {
        const long long first = integerDigits < 0 ? -1 : integerDigits;
        int dropped = 0;
        bool sticky = false;
        if (first >= 0) {
            dropped = number.digits[static_cast<std::size_t>(first)] - '0';
            sticky = first + 1 < count;  // digits has no trailing zeros
        } else {
            sticky = true;  // all digits lie below the first dropped position
        }
        if (integerDigits < 0) dropped = 0;
        if (dropped > 5 || (dropped == 5 && (sticky || (value & 1) != 0))) ++value;
    }
    if (value > 0xFFFFFFFFFFFFFFFFULL) return false;
    magnitude = static_cast<unsigned long long>(value);
    return true;
}

double ToDouble(const ParsedNumber& number) {
    if (number.digits.empty()) return number.negative ? -0.0 : 0.0;
    // Integer digits with an exponent: strtod reads this without any locale's decimal point.
    std::string text = number.negative ? "-" : "";
    text += number.digits;
    text += "e";
    text += std::to_string(number.exponent);
    return std::strtod(text.c_str(), nullptr);
}

std::u16string FormatDouble(double value, int significantDigits) {
    if (value == 0) return u"0";
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*G", significantDigits, value);
    std::u16string out;
    for (const char* c = buffer; *c != 0; ++c) {
        // The C library may use the process locale's decimal point; this runtime always uses '.'.
        out.push_back(*c == ',' ? u'.' : static_cast<char16_t>(static_cast<unsigned char>(*c)));
    }
    return out;
}

}  // namespace comrt
