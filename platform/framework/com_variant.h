// CComVariant: a VARIANT that clears itself; copies and conversions go through the runtime.
// Allocation failures in constructors and operators throw std::bad_alloc.
#pragma once

#include <new>
#include <string_view>

#include "com_base.h"
#include "com_bstr.h"
#include "com_interfaces.h"
#include "com_runtime.h"

class CComVariant : public VARIANT {
  public:
    CComVariant() noexcept { ::VariantInit(this); }
    CComVariant(const VARIANT& src) {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        Check(::VariantCopy(this, &src));
    }
    CComVariant(const CComVariant& src) : CComVariant(static_cast<const VARIANT&>(src)) {}
    CComVariant(CComVariant&& src) noexcept {
        ::VariantInit(this);
        std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&src), sizeof(VARIANT));
        src.vt = VT_EMPTY;
    }
    CComVariant(LPCOLESTR text) { SetString(text); }  // NOLINT(google-explicit-constructor)
    explicit CComVariant(LPCSTR text) {
        ::VariantInit(this);
        CComBSTR converted(text);
        vt = VT_BSTR;
        bstrVal = converted.Detach();
    }
    CComVariant(const CComBSTR& text) { SetString(text.m_str, text.Length()); }  // NOLINT
    CComVariant(bool value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    CComVariant(int value, VARTYPE type = VT_I4) noexcept {  // NOLINT
        ::VariantInit(this);
        vt = type == VT_INT ? VT_INT : VT_I4;
        lVal = value;
    }
    CComVariant(unsigned int value, VARTYPE type = VT_UI4) noexcept {  // NOLINT
        ::VariantInit(this);
        vt = type == VT_UINT ? VT_UINT : VT_UI4;
        ulVal = value;
    }
    CComVariant(BYTE value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_UI1;
        bVal = value;
    }
    CComVariant(char value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_I1;
        cVal = value;
    }
    CComVariant(short value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_I2;
        iVal = value;
    }
    CComVariant(unsigned short value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_UI2;
        uiVal = value;
    }
    CComVariant(LONGLONG value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_I8;
        llVal = value;
    }
    CComVariant(ULONGLONG value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_UI8;
        ullVal = value;
    }
    CComVariant(float value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_R4;
        fltVal = value;
    }
    CComVariant(double value, VARTYPE type = VT_R8) noexcept {  // NOLINT
        ::VariantInit(this);
        vt = type == VT_DATE ? VT_DATE : VT_R8;
        dblVal = value;
    }
    CComVariant(IUnknown* value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_UNKNOWN;
        punkVal = value;
        if (value != nullptr) value->AddRef();
    }
    CComVariant(IDispatch* value) noexcept {  // NOLINT(google-explicit-constructor)
        ::VariantInit(this);
        vt = VT_DISPATCH;
        pdispVal = value;
        if (value != nullptr) value->AddRef();
    }
    ~CComVariant() { ::VariantClear(this); }

    CComVariant& operator=(const CComVariant& src) {
        if (this != &src) Check(Copy(&src));
        return *this;
    }
    CComVariant& operator=(CComVariant&& src) noexcept {
        if (this != &src) {
            ::VariantClear(this);
            std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&src), sizeof(VARIANT));
            src.vt = VT_EMPTY;
        }
        return *this;
    }
    CComVariant& operator=(const VARIANT& src) {
        if (&src != static_cast<VARIANT*>(this)) Check(Copy(&src));
        return *this;
    }
    template <class Value>
    CComVariant& operator=(const Value& value) {
        return *this = CComVariant(value);
    }

    HRESULT Clear() noexcept { return ::VariantClear(this); }
    HRESULT Copy(const VARIANT* src) noexcept {
        if (src == nullptr) return E_INVALIDARG;
        return ::VariantCopy(this, src);
    }
    HRESULT CopyTo(BSTR* pstrDest) const noexcept {
        if (pstrDest == nullptr) return E_POINTER;
        *pstrDest = nullptr;
        if (vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        *pstrDest = ::SysAllocStringLen(bstrVal, ::SysStringLen(bstrVal));
        return *pstrDest == nullptr && bstrVal != nullptr ? E_OUTOFMEMORY : S_OK;
    }
    HRESULT Attach(VARIANT* src) noexcept {
        if (src == nullptr) return E_INVALIDARG;
        const HRESULT hr = ::VariantClear(this);
        if (FAILED(hr)) return hr;
        std::memcpy(static_cast<VARIANT*>(this), src, sizeof(VARIANT));
        src->vt = VT_EMPTY;
        return S_OK;
    }
    HRESULT Detach(VARIANT* dest) noexcept {
        if (dest == nullptr) return E_POINTER;
        const HRESULT hr = ::VariantClear(dest);
        if (FAILED(hr)) return hr;
        std::memcpy(dest, static_cast<VARIANT*>(this), sizeof(VARIANT));
        vt = VT_EMPTY;
        return S_OK;
    }
    // Converts src (or this variant itself) to type in place.
    HRESULT ChangeType(VARTYPE type, const VARIANT* src = nullptr) noexcept {
        return ::VariantChangeType(this, src != nullptr ? src : this, 0, type);
    }

    bool operator==(const VARIANT& other) const noexcept {
        if (vt != other.vt) return false;
        switch (vt) {
            case VT_EMPTY:
            case VT_NULL:
                return true;
            case VT_BSTR:
                return std::u16string_view(bstrVal == nullptr ? u"" : bstrVal,
                                           ::SysStringLen(bstrVal)) ==
                       std::u16string_view(other.bstrVal == nullptr ? u"" : other.bstrVal,
                                           ::SysStringLen(other.bstrVal));
            case VT_BOOL:
                return boolVal == other.boolVal;
            case VT_I1:
            case VT_UI1:
                return bVal == other.bVal;
            case VT_I2:
            case VT_UI2:
                return iVal == other.iVal;
            case VT_I4:
            case VT_UI4:
            case VT_INT:
            case VT_UINT:
            case VT_ERROR:
                return lVal == other.lVal;
            case VT_R4:
                return fltVal == other.fltVal;
            case VT_R8:
            case VT_DATE:
                return dblVal == other.dblVal;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                return punkVal == other.punkVal;
            case VT_DECIMAL:
                return std::memcmp(&decVal.u, &other.decVal.u, sizeof(decVal) - sizeof(WORD)) == 0;
            default:
                return llVal == other.llVal;
        }
    }
    bool operator!=(const VARIANT& other) const noexcept { return !(*this == other); }

  private:
    static void Check(HRESULT hr) {
        if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    }
    void SetString(LPCOLESTR text) {
        ::VariantInit(this);
        vt = VT_BSTR;
        bstrVal = ::SysAllocString(text);
        if (bstrVal == nullptr && text != nullptr) {
            vt = VT_EMPTY;
            throw std::bad_alloc();
        }
    }
    void SetString(LPCOLESTR text, unsigned int length) {
        ::VariantInit(this);
        vt = VT_BSTR;
        bstrVal = text == nullptr ? nullptr : ::SysAllocStringLen(text, length);
        if (bstrVal == nullptr && text != nullptr) {
            vt = VT_EMPTY;
            throw std::bad_alloc();
        }
    }
};
