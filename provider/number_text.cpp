// Locale-independent number reading for cell texts.
#include "provider/number_text.h"

#include <clocale>
#include <cstdlib>

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

bool IsCSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t SkipDigits(std::u16string_view text, size_t i, size_t* count) {
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++*count;
    }
    return i;
}

// strtod in the "C" locale, for the rare text that std::from_chars finds out of range.
double StrtodInCLocale(const char* text) {
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text, nullptr, cLocale);
}

enum class Conversion { kOk, kOutOfRange };

// The span holds only ASCII sign, digits, '.', 'e' and exponent sign.
Conversion ConvertSpan(std::u16string_view text, NumberSpan span, double* value) {
    constexpr size_t kShort = 64;
    char shortBuffer[kShort];
    std::string longBuffer;
    const size_t length = span.end - span.begin;
    char* narrow = shortBuffer;
    if (length + 1 > kShort) {
        longBuffer.resize(length + 1);
        narrow = longBuffer.data();
    }
    for (size_t i = 0; i < length; ++i) narrow[i] = static_cast<char>(text[span.begin + i]);
    narrow[length] = '\0';
    // from_chars takes no '+'.
    const char* first = narrow[0] == '+' ? narrow + 1 : narrow;
    const std::from_chars_result result = std::from_chars(first, narrow + length, *value);
    if (result.ec == std::errc()) return Conversion::kOk;
    *value = StrtodInCLocale(narrow);
    return Conversion::kOutOfRange;
}

}  // namespace

NumberSpan FindLeadingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    const size_t begin = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    size_t digits = 0;
    i = SkipDigits(text, i, &digits);
    if (i < text.size() && text[i] == u'.') i = SkipDigits(text, i + 1, &digits);
    if (digits == 0) return NumberSpan{};
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
        size_t exponentDigits = 0;
        j = SkipDigits(text, j, &exponentDigits);
        // An 'e' without digits is not part of the number.
        if (exponentDigits != 0) i = j;
    }
    return NumberSpan{begin, i};
}

bool ReadWholeNumber(std::u16string_view text, double* value) {
    if (text.empty()) {
        *value = 0.0;
        return true;
    }
    const NumberSpan span = FindLeadingNumber(text);
    if (span.begin == span.end || span.end != text.size()) return false;
    return ConvertSpan(text, span, value) == Conversion::kOk;
}

double ReadLeadingNumber(std::u16string_view text) {
    const NumberSpan span = FindLeadingNumber(text);
    if (span.begin == span.end) return 0.0;
    double value = 0.0;
    ConvertSpan(text, span, &value);
    return value;
}
