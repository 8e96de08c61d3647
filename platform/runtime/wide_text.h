// UTF-16 text helpers shared by the runtime: lengths, UTF-8 conversion and ASCII case folding.
#pragma once

#include <string>
#include <string_view>

#include "com_base.h"
#include "utf_text.h"

namespace comrt {

// Length of a terminated UTF-16 string, 0 for null.
std::size_t WideLength(const char16_t* text) noexcept;

// Upper-cases ASCII letters only: key and value names compare this way.
std::u16string FoldAscii(std::u16string_view text);
char16_t FoldAsciiChar(char16_t c) noexcept;
bool EqualsFolded(std::u16string_view a, std::u16string_view b) noexcept;

}  // namespace comrt
