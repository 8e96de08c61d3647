// Reading the initialisation properties into the connection settings, and their narrow form.
#include "provider/connection_settings.h"

#include <algorithm>
#include <climits>
#include <string>

#include "com_runtime.h"
#include "utf_text.h"

namespace {

size_t TextLength(const WCHAR* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != 0) ++length;
    return length;
}

// False for a lone surrogate, which has no multibyte form.
bool ToUtf8(const WCHAR* text, size_t length, std::string& out) {
    for (size_t i = 0; i < length; ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 >= length || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
    }
    out += comrt::Utf16ToUtf8(std::u16string_view(text, length));
    return true;
}

std::u16string TextOf(const VARIANT& value) {
    if (value.vt != VT_BSTR || value.bstrVal == nullptr) return {};
    return {value.bstrVal, SysStringLen(value.bstrVal)};
}

}  // namespace

void CopyToField(const WCHAR* text, size_t length, WCHAR* field, size_t fieldChars) {
    if (field == nullptr || fieldChars == 0) return;
    const size_t copied = text == nullptr ? 0 : std::min(length, fieldChars - 1);
    std::copy_n(text == nullptr ? field : text, copied, field);
    field[copied] = 0;
}

int ParseLeadingInt(const std::u16string& text, int fallback) {
    // The thread code page's conversion: a lone surrogate becomes U+FFFD, the rest still parses.
    const std::string narrow = comrt::Utf16ToUtf8(text);
    size_t i = 0;
    while (i < narrow.size() && (narrow[i] == ' ' || (narrow[i] >= '\t' && narrow[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) negative = narrow[i++] == '-';
    if (i >= narrow.size() || narrow[i] < '0' || narrow[i] > '9') return fallback;
    long long value = 0;
    for (; i < narrow.size() && narrow[i] >= '0' && narrow[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (narrow[i] - '0'), 1LL + INT_MAX);
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void ReadInitProperties(const DBPROPSET* sets, ULONG setCount, ConnectionSettings& settings) {
    settings.memberDisplayOption = kDefaultMemberDisplayOption;
    for (ULONG s = 0; sets != nullptr && s < setCount; ++s) {
        const DBPROPSET& set = sets[s];
        if (set.guidPropertySet != DBPROPSET_DBINIT || set.rgProperties == nullptr) continue;
        for (ULONG p = 0; p < set.cProperties; ++p) {
            const DBPROP& prop = set.rgProperties[p];
            const std::u16string text = TextOf(prop.vValue);
            switch (prop.dwPropertyID) {
                case DBPROP_AUTH_PASSWORD:
                    CopyToField(text.c_str(), text.size(), settings.password, kCredentialChars);
                    break;
                case DBPROP_AUTH_USERID:
                    CopyToField(text.c_str(), text.size(), settings.userName, kCredentialChars);
                    break;
                case DBPROP_INIT_DATASOURCE:
                    if (!text.empty())
                        settings.memberDisplayOption =
                            ParseLeadingInt(text, settings.memberDisplayOption);
                    break;
                case DBPROP_INIT_HWND:
                    if (prop.vValue.vt == VT_I4) {
                        const auto handle = static_cast<LONG_PTR>(prop.vValue.lVal);
                        // NOLINTNEXTLINE(performance-no-int-to-ptr): a handle sent as an integer
                        settings.parentWindow = reinterpret_cast<HWND>(handle);
                    }
                    break;
                default:
                    break;
            }
        }
    }
}

bool ShouldPrompt(const ConnectionSettings& settings,
                  const std::function<int(std::u16string)>& hasCachedToken) {
    if (settings.userName[0] == 0) return true;
    return hasCachedToken(std::u16string(settings.userName)) == 0;
}

bool CredentialsMissing(const ConnectionSettings& settings) {
    return settings.userName[0] == 0 || settings.password[0] == 0;
}

void ToNarrow(const WCHAR* text, char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    out[0] = 0;
    if (text == nullptr) return;
    std::string narrow;
    if (!ToUtf8(text, TextLength(text, kCredentialChars), narrow) || narrow.size() + 1 > size)
        return;
    std::copy(narrow.begin(), narrow.end(), out);
    out[narrow.size()] = 0;
}
