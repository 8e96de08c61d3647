// ProgID lookups: CLSIDFromProgID and ProgIDFromCLSID, through HKEY_CLASSES_ROOT.
#include <cstring>

#include "api_guard.h"
#include "com_runtime.h"
#include "guid_text.h"
#include "registry_reader.h"
#include "wide_text.h"

namespace {

// Bounds CurVer chains, which a damaged registry could make circular.
constexpr int kMaxCurVerDepth = 8;

}  // namespace

STDAPI CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (lpszProgID == nullptr || lpclsid == nullptr) return E_INVALIDARG;
        *lpclsid = CLSID_NULL;
        std::u16string progId(lpszProgID, comrt::WideLength(lpszProgID));
        for (int depth = 0; depth < kMaxCurVerDepth; ++depth) {
            if (progId.empty() || progId.find(u'\\') != std::u16string::npos) {
                return CO_E_CLASSSTRING;
            }
            std::u16string text;
            if (comrt::ReadRegistryString(HKEY_CLASSES_ROOT, progId + u"\\CLSID", nullptr, text) ==
                ERROR_SUCCESS) {
                const auto clsid = comrt::ParseGuid(text);
                if (!clsid) return CO_E_CLASSSTRING;
                *lpclsid = *clsid;
                return S_OK;
            }
            // A version-independent ProgID names its current version under CurVer.
            std::u16string current;
            if (comrt::ReadRegistryString(HKEY_CLASSES_ROOT, progId + u"\\CurVer", nullptr,
                                          current) != ERROR_SUCCESS) {
                return CO_E_CLASSSTRING;
            }
            progId = current;
        }
        return CO_E_CLASSSTRING;
    });
}

STDAPI ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (lplpszProgID == nullptr) return E_INVALIDARG;
        *lplpszProgID = nullptr;
        std::u16string progId;
        const LONG status = comrt::ReadRegistryString(
            HKEY_CLASSES_ROOT, u"CLSID\\" + comrt::FormatGuid(clsid) + u"\\ProgID", nullptr,
            progId);
        if (status != ERROR_SUCCESS || progId.empty()) return REGDB_E_CLASSNOTREG;
        auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((progId.size() + 1) * sizeof(OLECHAR)));
        if (copy == nullptr) return E_OUTOFMEMORY;
        std::memcpy(copy, progId.c_str(), (progId.size() + 1) * sizeof(OLECHAR));
        *lplpszProgID = copy;
        return S_OK;
    });
}
