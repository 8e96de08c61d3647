// VARIANT lifetime: VariantInit, VariantClear and VariantCopy. Safe arrays and records are not
// part of this runtime, so VARIANTs owning one are rejected as bad types.
#include "com_runtime.h"
#include "variant_type.h"

namespace comrt {

bool IsValidVariantType(VARTYPE vt) noexcept {
    const VARTYPE base = vt & VT_TYPEMASK;
    const VARTYPE flags = vt & static_cast<VARTYPE>(~VT_TYPEMASK);
    if (flags != 0 && flags != VT_BYREF) return false;
    switch (base) {
        case VT_EMPTY:
        case VT_NULL:
            return flags == 0;
        case VT_VARIANT:
            return flags == VT_BYREF;
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
        case VT_BSTR:
        case VT_DISPATCH:
        case VT_ERROR:
        case VT_BOOL:
        case VT_UNKNOWN:
        case VT_DECIMAL:
        case VT_I1:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_I8:
        case VT_UI8:
        case VT_INT:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

void ReleaseVariantContents(VARIANT& value) noexcept {
    switch (value.vt) {
        case VT_BSTR:
            SysFreeString(value.bstrVal);
            value.bstrVal = nullptr;
            break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            // IDispatch derives from IUnknown alone, so both start with its three slots.
            if (value.punkVal != nullptr) value.punkVal->Release();
            value.punkVal = nullptr;
            break;
        default:
            break;
    }
}

}  // namespace comrt

STDAPI_(void) VariantInit(VARIANTARG* pvarg) {
    if (pvarg != nullptr) pvarg->vt = VT_EMPTY;
}

STDAPI VariantClear(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return E_INVALIDARG;
    if (!comrt::IsValidVariantType(pvarg->vt)) return DISP_E_BADVARTYPE;
    comrt::ReleaseVariantContents(*pvarg);
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

STDAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
    if (pvargDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
    if (!comrt::IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
    if (pvargDest == pvargSrc) return S_OK;
    // The copy is made before the destination is cleared, so a failed copy leaves it intact.
    VARIANT copy = *pvargSrc;
    if (copy.vt == VT_BSTR && copy.bstrVal != nullptr) {
        copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(pvargSrc->bstrVal),
                                             SysStringByteLen(pvargSrc->bstrVal));
        if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
    }
    const HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        if (copy.vt == VT_BSTR) SysFreeString(copy.bstrVal);
        return hr;
    }
    if ((copy.vt == VT_UNKNOWN || copy.vt == VT_DISPATCH) && copy.punkVal != nullptr) {
        copy.punkVal->AddRef();
    }
    *pvargDest = copy;
    return S_OK;
}
