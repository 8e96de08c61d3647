// Reads one text value through the exported registry functions.
#include "registry_reader.h"

#include <cstdlib>
#include <vector>

#include "wide_text.h"

namespace comrt {

LONG ReadRegistryString(HKEY base, const std::u16string& subKey, const WCHAR* valueName,
                        std::u16string& text, DWORD* valueType) {
    text.clear();
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(base, subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return status;
    DWORD type = 0;
    DWORD size = 0;
    status = RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    // The value may grow between the two calls, so the read repeats until it fits.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size + sizeof(WCHAR));
        DWORD capacity = static_cast<DWORD>(data.size());
        status = RegQueryValueExW(key, valueName, nullptr, &type, data.data(), &capacity);
        if (status == ERROR_SUCCESS) {
            size = capacity;
            break;
        }
        size = capacity;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    if (valueType != nullptr) *valueType = type;
    text.assign(reinterpret_cast<const WCHAR*>(data.data()), size / sizeof(WCHAR));
    const std::size_t terminator = text.find(u'\0');
    if (terminator != std::u16string::npos) text.resize(terminator);
    return ERROR_SUCCESS;
}

std::u16string ExpandEnvironmentText(const std::u16string& text) {
    std::u16string out;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(u'%', position);
        const std::size_t close =
            open == std::u16string::npos ? std::u16string::npos : text.find(u'%', open + 1);
        if (close == std::u16string::npos) break;
        out.append(text, position, open - position);
        const std::string name = Utf16ToUtf8(text.substr(open + 1, close - open - 1));
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value != nullptr) {
            out += Utf8ToUtf16(value);
            position = close + 1;
        } else {
            // Not a variable: keep the first '%' and look for a name from the second one on.
            out.push_back(u'%');
            position = open + 1;
        }
    }
    out.append(text, position, std::u16string::npos);
    return out;
}

}  // namespace comrt
