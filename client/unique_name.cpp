// Id extraction from unique names.
#include "client/unique_name.h"

#include <string_view>

#include "client/wide_text.h"

std::string ExtractIdFromUniqueName(const char16_t* uniqueName) {
    if (uniqueName == nullptr) {
        return {};
    }
    std::u16string_view name(uniqueName);
    size_t open = name.find(u'<');
    size_t close = name.find(u'>');
    if (open == std::u16string_view::npos || close == std::u16string_view::npos || close < open) {
        return {};
    }
    // Ids of any length and any characters come back whole, so that they widen back unchanged.
    return Utf16ToUtf8(name.substr(open + 1, close - open - 1));
}
