// GUID text: StringFromGUID2, CLSIDFromString and IIDFromString, over the braced form.
#include "guid_text.h"

#include "api_guard.h"
#include "com_runtime.h"
#include "wide_text.h"

namespace comrt {

namespace {

constexpr std::size_t kGuidTextLength = 38;

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads digitCount hex digits at position; false when any is not a hex digit.
bool ReadHex(std::u16string_view text, std::size_t position, int digitCount, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < digitCount; ++i) {
        const int digit = HexValue(text[position + static_cast<std::size_t>(i)]);
        if (digit < 0) return false;
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return true;
}

}  // namespace

std::u16string FormatGuid(REFGUID guid) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    out.reserve(kGuidTextLength);
    auto put = [&](std::uint64_t value, int digitCount) {
        for (int shift = (digitCount - 1) * 4; shift >= 0; shift -= 4) {
            out.push_back(kDigits[(value >> shift) & 0xF]);
        }
    };
    out.push_back(u'{');
    put(guid.Data1, 8);
    out.push_back(u'-');
    put(guid.Data2, 4);
    out.push_back(u'-');
    put(guid.Data3, 4);
    out.push_back(u'-');
    put(guid.Data4[0], 2);
    put(guid.Data4[1], 2);
    out.push_back(u'-');
    for (int i = 2; i < 8; ++i) put(guid.Data4[i], 2);
    out.push_back(u'}');
    return out;
}

std::optional<GUID> ParseGuid(std::u16string_view text) {
    if (text.size() != kGuidTextLength || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
        text[14] != u'-' || text[19] != u'-' || text[24] != u'-') {
        return std::nullopt;
    }
    GUID guid{};
    std::uint64_t value = 0;
    if (!ReadHex(text, 1, 8, value)) return std::nullopt;
    guid.Data1 = static_cast<ULONG>(value);
    if (!ReadHex(text, 10, 4, value)) return std::nullopt;
    guid.Data2 = static_cast<USHORT>(value);
    if (!ReadHex(text, 15, 4, value)) return std::nullopt;
    guid.Data3 = static_cast<USHORT>(value);
    static constexpr std::size_t kBytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, kBytePositions[i], 2, value)) return std::nullopt;
        guid.Data4[i] = static_cast<BYTE>(value);
    }
    return guid;
}

}  // namespace comrt

STDAPI_(int) StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
    return comrt::GuardValue(0, [&]() -> int {
        const std::u16string text = comrt::FormatGuid(rguid);
        const int needed = static_cast<int>(text.size()) + 1;
        if (lpsz == nullptr || cchMax < needed) return 0;
        std::copy(text.begin(), text.end(), lpsz);
        lpsz[text.size()] = 0;
        return needed;
    });
}

STDAPI IIDFromString(LPCOLESTR lpsz, LPGUID lpiid) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (lpiid == nullptr) return E_INVALIDARG;
        // A null string stands for GUID_NULL, as documented.
        if (lpsz == nullptr) {
            *lpiid = GUID_NULL;
            return S_OK;
        }
        const auto guid = comrt::ParseGuid(std::u16string_view(lpsz, comrt::WideLength(lpsz)));
        if (!guid) return E_INVALIDARG;
        *lpiid = *guid;
        return S_OK;
    });
}

STDAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (pclsid == nullptr) return E_INVALIDARG;
        if (lpsz == nullptr) {
            *pclsid = CLSID_NULL;
            return S_OK;
        }
        const std::u16string_view text(lpsz, comrt::WideLength(lpsz));
        if (const auto guid = comrt::ParseGuid(text)) {
            *pclsid = *guid;
            return S_OK;
        }
        *pclsid = CLSID_NULL;
        // Text that is not a braced GUID is taken as a ProgID.
        if (!text.empty() && text[0] != u'{' && SUCCEEDED(CLSIDFromProgID(lpsz, pclsid))) {
            return S_OK;
        }
        *pclsid = CLSID_NULL;
        return CO_E_CLASSSTRING;
    });
}
