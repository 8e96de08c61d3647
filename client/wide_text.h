// UTF-8 <-> UTF-16 conversion: the one place where the REST library's narrow strings meet the
// client's wide ones.
#pragma once

#include <string>
#include <string_view>

// Invalid input never fails: a malformed sequence or a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
