// UTF-16 and UTF-8 conversions at zelmo's boundary with the interfaces.
#pragma once

#include <string>
#include <string_view>

std::string ToUtf8(std::u16string_view text);
// A null pointer gives the empty text.
std::string ToUtf8(const char16_t* text);
// Invalid UTF-8 bytes become U+FFFD.
std::u16string ToUtf16(std::string_view text);
