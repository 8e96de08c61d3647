// Reads one text value through the exported registry functions.
#include "registry_reader.h"

#include <vector>

namespace comrt {

LONG ReadRegistryString(HKEY base, const std::u16string& subKey, const WCHAR* valueName,
                        std::u16string& text) {
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
    text.assign(reinterpret_cast<const WCHAR*>(data.data()), size / sizeof(WCHAR));
    const std::size_t terminator = text.find(u'\0');
    if (terminator != std::u16string::npos) text.resize(terminator);
    return ERROR_SUCCESS;
}

}  // namespace comrt
