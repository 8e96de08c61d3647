// UTF-16 and UTF-8 conversions at zelmo's boundary with the interfaces: the platform's own,
// under short names. Unpaired surrogates and bad bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

#include <utf_text.h>  // the platform's (platform/include)

inline std::string ToUtf8(std::u16string_view text) { return comrt::Utf16ToUtf8(text); }
// A null pointer gives the empty text.
inline std::string ToUtf8(const char16_t* text) {
    return text == nullptr ? std::string() : comrt::Utf16ToUtf8(text);
}
inline std::u16string ToUtf16(std::string_view text) { return comrt::Utf8ToUtf16(text); }
