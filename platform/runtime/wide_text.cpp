// UTF-16 text helpers shared by the runtime.
#include "wide_text.h"

namespace comrt {

std::size_t WideLength(const char16_t* text) noexcept {
    if (text == nullptr) return 0;
    std::size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

char16_t FoldAsciiChar(char16_t c) noexcept {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string FoldAscii(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = FoldAsciiChar(c);
    return out;
}

bool EqualsFolded(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiChar(a[i]) != FoldAsciiChar(b[i])) return false;
    }
    return true;
}

}  // namespace comrt
