// UTF-16 and UTF-8 conversions for the terminal host; bad sequences become U+FFFD.
#pragma once

#include <string>

std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);
// Removes the last code point of UTF-8 text; false when it was empty.
bool PopUtf8CodePoint(std::string& text);
