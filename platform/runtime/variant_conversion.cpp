// VariantChangeType and VariantChangeTypeEx. Every locale converts with the invariant rules:
// '.' as the decimal point, ',' between thousands, en-US dates and "True"/"False"; the runtime's
// text is UTF-16 and its multibyte text UTF-8, so nothing depends on the LCID given.
#include <cmath>
#include <limits>
#include <string>

#include "api_guard.h"
#include "com_runtime.h"
#include "date_text.h"
#include "decimal_value.h"
#include "number_text.h"
#include "variant_type.h"
#include "wide_text.h"

namespace comrt {

namespace {

constexpr long long kCurrencyScale = 10000;
COMRT_GUID(kIidDispatch, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
           0x46);
constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

// A source value taken out of its VARIANT, so each target is converted from one of a few kinds.
struct Scalar {
    enum class Kind {
        kEmpty,
        kNull,
        kSigned,
        kUnsigned,
        kDouble,
        kDate,
        kBool,
        kDecimal,
        kCurrency,
        kText,
        kObject,
        kError
    };
    Kind kind = Kind::kEmpty;
    long long integer = 0;  // kSigned, kCurrency (scaled by 10000), kError
    unsigned long long unsignedInteger = 0;
    double real = 0;
    bool single = false;  // kDouble that came from VT_R4
    bool boolean = false;
    DecimalValue decimal;
    std::u16string_view text;
};

HRESULT Extract(const VARIANT& source, Scalar& value) {
    using Kind = Scalar::Kind;
    switch (source.vt) {
        case VT_EMPTY:
            value.kind = Kind::kEmpty;
            return S_OK;
        case VT_NULL:
            value.kind = Kind::kNull;
            return S_OK;
        case VT_I1:
            value.kind = Kind::kSigned;
            value.integer = static_cast<signed char>(source.cVal);
            return S_OK;
        case VT_I2:
            value.kind = Kind::kSigned;
            value.integer = source.iVal;
            return S_OK;
        case VT_I4:
            value.kind = Kind::kSigned;
            value.integer = source.lVal;
            return S_OK;
        case VT_INT:
            value.kind = Kind::kSigned;
            value.integer = source.intVal;
            return S_OK;
        case VT_I8:
            value.kind = Kind::kSigned;
            value.integer = source.llVal;
            return S_OK;
        case VT_UI1:
            value.kind = Kind::kUnsigned;
            value.unsignedInteger = source.bVal;
            return S_OK;
        case VT_UI2:
            value.kind = Kind::kUnsigned;
            value.unsignedInteger = source.uiVal;
            return S_OK;
        case VT_UI4:
            value.kind = Kind::kUnsigned;
            value.unsignedInteger = source.ulVal;
            return S_OK;
        case VT_UINT:
            value.kind = Kind::kUnsigned;
            value.unsignedInteger = source.uintVal;
            return S_OK;
        case VT_UI8:
            value.kind = Kind::kUnsigned;
            value.unsignedInteger = source.ullVal;
            return S_OK;
        case VT_R4:
            value.kind = Kind::kDouble;
            value.real = source.fltVal;
            value.single = true;
            return S_OK;
        case VT_R8:
            value.kind = Kind::kDouble;
            value.real = source.dblVal;
            return S_OK;
        case VT_DATE:
            value.kind = Kind::kDate;
            value.real = source.date;
            return S_OK;
        case VT_BOOL:
            value.kind = Kind::kBool;
            value.boolean = source.boolVal != VARIANT_FALSE;
            return S_OK;
        case VT_CY:
            value.kind = Kind::kCurrency;
            value.integer = source.cyVal.int64;
            return S_OK;
        case VT_ERROR:
            value.kind = Kind::kError;
            value.integer = source.scode;
            return S_OK;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            value.kind = Kind::kObject;
            return S_OK;
        case VT_DECIMAL:
            value.kind = Kind::kDecimal;
            return DecimalValue::FromDecimal(source.decVal, value.decimal) ? S_OK : E_INVALIDARG;
        case VT_BSTR:
            value.kind = Kind::kText;
            value.text = std::u16string_view(source.bstrVal == nullptr ? u"" : source.bstrVal,
                                             SysStringLen(source.bstrVal));
            return S_OK;
        default:
            return DISP_E_BADVARTYPE;
    }
}

// Copies a VT_BYREF source's target into a by-value VARIANT (no ownership is taken).
HRESULT Dereference(const VARIANT& source, VARIANT& value) {
    VariantInit(&value);
    if ((source.vt & VT_BYREF) == 0) {
        value = source;
        return S_OK;
    }
    if (source.byref == nullptr) return E_INVALIDARG;
    const VARTYPE base = source.vt & static_cast<VARTYPE>(~VT_BYREF);
    switch (base) {
        case VT_VARIANT: {
            const VARIANT& inner = *source.pvarVal;
            if (!IsValidVariantType(inner.vt) || inner.vt == (VT_VARIANT | VT_BYREF)) {
                return DISP_E_BADVARTYPE;
            }
            return Dereference(inner, value);
        }
        case VT_I1:
            value.cVal = *source.pcVal;
            break;
        case VT_UI1:
            value.bVal = *source.pbVal;
            break;
        case VT_I2:
            value.iVal = *source.piVal;
            break;
        case VT_UI2:
            value.uiVal = *source.puiVal;
            break;
        case VT_I4:
            value.lVal = *source.plVal;
            break;
        case VT_UI4:
            value.ulVal = *source.pulVal;
            break;
        case VT_INT:
            value.intVal = *source.pintVal;
            break;
        case VT_UINT:
            value.uintVal = *source.puintVal;
            break;
        case VT_I8:
            value.llVal = *source.pllVal;
            break;
        case VT_UI8:
            value.ullVal = *source.pullVal;
            break;
        case VT_R4:
            value.fltVal = *source.pfltVal;
            break;
        case VT_R8:
            value.dblVal = *source.pdblVal;
            break;
        case VT_DATE:
            value.date = *source.pdate;
            break;
        case VT_BOOL:
            value.boolVal = *source.pboolVal;
            break;
        case VT_CY:
            value.cyVal = *source.pcyVal;
            break;
        case VT_ERROR:
            value.scode = *source.pscode;
            break;
        case VT_BSTR:
            value.bstrVal = *source.pbstrVal;
            break;
        case VT_UNKNOWN:
            value.punkVal = *source.ppunkVal;
            break;
        case VT_DISPATCH:
            value.pdispVal = *source.ppdispVal;
            break;
        case VT_DECIMAL:
            value.decVal = *source.pdecVal;
            break;
        default:
            return DISP_E_BADVARTYPE;
    }
    value.vt = base;
    return S_OK;
}

// Rounds half to even and checks the range of a signed target.
HRESULT ToSigned(const Scalar& value, long long minimum, long long maximum, long long& result) {
    using Kind = Scalar::Kind;
    bool negative = false;
    unsigned long long magnitude = 0;
    switch (value.kind) {
        case Kind::kEmpty:
            result = 0;
            return S_OK;
        case Kind::kBool:
            result = value.boolean ? -1 : 0;
            return S_OK;
        case Kind::kSigned:
            result = value.integer;
            return result < minimum || result > maximum ? DISP_E_OVERFLOW : S_OK;
        case Kind::kUnsigned:
            if (value.unsignedInteger > static_cast<unsigned long long>(maximum))
                return DISP_E_OVERFLOW;
            result = static_cast<long long>(value.unsignedInteger);
            return S_OK;
        case Kind::kDouble:
        case Kind::kDate: {
            const double rounded = std::nearbyint(value.real);
            if (!(rounded >= -kTwoTo63 && rounded < kTwoTo63)) return DISP_E_OVERFLOW;
            result = static_cast<long long>(rounded);
            return result < minimum || result > maximum ? DISP_E_OVERFLOW : S_OK;
        }
        case Kind::kCurrency: {
            DecimalValue decimal = DecimalValue::FromInteger(
                value.integer < 0, value.integer < 0
                                       ? 0 - static_cast<unsigned long long>(value.integer)
                                       : static_cast<unsigned long long>(value.integer));
            decimal.scale = 4;
            negative = decimal.negative;
            if (!decimal.RoundToInteger(magnitude)) return DISP_E_OVERFLOW;
            break;
        }
        case Kind::kDecimal:
            negative = value.decimal.negative;
            if (!value.decimal.RoundToInteger(magnitude)) return DISP_E_OVERFLOW;
            break;
        case Kind::kText: {
            ParsedNumber number;
            if (!ParseNumberText(value.text, number)) return DISP_E_TYPEMISMATCH;
            negative = number.negative;
            if (!RoundToInteger(number, magnitude)) return DISP_E_OVERFLOW;
            break;
        }
        default:
            return DISP_E_TYPEMISMATCH;
    }
    if (negative) {
        if (magnitude > static_cast<unsigned long long>(-(minimum + 1)) + 1) return DISP_E_OVERFLOW;
        result = magnitude == 0 ? 0 : -static_cast<long long>(magnitude - 1) - 1;
    } else {
        if (magnitude > static_cast<unsigned long long>(maximum)) return DISP_E_OVERFLOW;
        result = static_cast<long long>(magnitude);
    }
    return S_OK;
}

HRESULT ToUnsigned(const Scalar& value, unsigned long long maximum, unsigned long long& result) {
    using Kind = Scalar::Kind;
    switch (value.kind) {
        case Kind::kEmpty:
            result = 0;
            return S_OK;
        // VARIANT_TRUE is -1: all bits set in the target's width.
        case Kind::kBool:
            result = value.boolean ? maximum : 0;
            return S_OK;
        case Kind::kUnsigned:
            result = value.unsignedInteger;
            return result > maximum ? DISP_E_OVERFLOW : S_OK;
        case Kind::kSigned:
            if (value.integer < 0) return DISP_E_OVERFLOW;
            result = static_cast<unsigned long long>(value.integer);
            return result > maximum ? DISP_E_OVERFLOW : S_OK;
        case Kind::kDouble:
        case Kind::kDate: {
            const double rounded = std::nearbyint(value.real);
            if (!(rounded >= 0 && rounded < kTwoTo64)) {
                // -0.4 rounds to -0, which is 0 and fits.
                if (!(rounded == 0)) return DISP_E_OVERFLOW;
            }
            result = rounded == 0 ? 0 : static_cast<unsigned long long>(rounded);
            return result > maximum ? DISP_E_OVERFLOW : S_OK;
        }
        default: {
            long long ignored = 0;
            bool negative = false;
            unsigned long long magnitude = 0;
            if (value.kind == Kind::kDecimal) {
                negative = value.decimal.negative;
                if (!value.decimal.RoundToInteger(magnitude)) return DISP_E_OVERFLOW;
            } else if (value.kind == Kind::kText) {
                ParsedNumber number;
                if (!ParseNumberText(value.text, number)) return DISP_E_TYPEMISMATCH;
                negative = number.negative;
                if (!RoundToInteger(number, magnitude)) return DISP_E_OVERFLOW;
            } else if (value.kind == Kind::kCurrency) {
                const HRESULT hr = ToSigned(value, std::numeric_limits<long long>::min(),
                                            std::numeric_limits<long long>::max(), ignored);
                if (FAILED(hr)) return hr;
                negative = ignored < 0;
                magnitude = negative ? 0 - static_cast<unsigned long long>(ignored)
                                     : static_cast<unsigned long long>(ignored);
            } else {
                return DISP_E_TYPEMISMATCH;
            }
            if (negative && magnitude != 0) return DISP_E_OVERFLOW;
            if (magnitude > maximum) return DISP_E_OVERFLOW;
            result = magnitude;
            return S_OK;
        }
    }
}

HRESULT ToReal(const Scalar& value, double& result) {
    using Kind = Scalar::Kind;
    switch (value.kind) {
        case Kind::kEmpty:
            result = 0;
            return S_OK;
        case Kind::kBool:
            result = value.boolean ? -1.0 : 0.0;
            return S_OK;
        case Kind::kSigned:
            result = static_cast<double>(value.integer);
            return S_OK;
        case Kind::kUnsigned:
            result = static_cast<double>(value.unsignedInteger);
            return S_OK;
        case Kind::kDouble:
        case Kind::kDate:
            result = value.real;
            return S_OK;
        case Kind::kCurrency:
            result = static_cast<double>(value.integer) / kCurrencyScale;
            return S_OK;
        case Kind::kDecimal:
            result = value.decimal.ToDouble();
            return S_OK;
        case Kind::kText: {
            ParsedNumber number;
            if (!ParseNumberText(value.text, number)) return DISP_E_TYPEMISMATCH;
            result = ToDouble(number);
            return std::isinf(result) ? DISP_E_OVERFLOW : S_OK;
        }
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToDecimalValue(const Scalar& value, DecimalValue& result) {
    using Kind = Scalar::Kind;
    switch (value.kind) {
        case Kind::kEmpty:
            result = DecimalValue();
            return S_OK;
        case Kind::kBool:
            result = DecimalValue::FromInteger(value.boolean, value.boolean ? 1 : 0);
            return S_OK;
        case Kind::kSigned:
            result = DecimalValue::FromInteger(
                value.integer < 0, value.integer < 0
                                       ? 0 - static_cast<unsigned long long>(value.integer)
                                       : static_cast<unsigned long long>(value.integer));
            return S_OK;
        case Kind::kUnsigned:
            result = DecimalValue::FromInteger(false, value.unsignedInteger);
            return S_OK;
        case Kind::kCurrency:
            result = DecimalValue::FromInteger(
                value.integer < 0, value.integer < 0
                                       ? 0 - static_cast<unsigned long long>(value.integer)
                                       : static_cast<unsigned long long>(value.integer));
            result.scale = 4;
            return S_OK;
        case Kind::kDecimal:
            result = value.decimal;
            return S_OK;
        case Kind::kDouble:
        case Kind::kDate:
            return DecimalValue::FromDouble(value.real, value.single ? 7 : 15, result)
                       ? S_OK
                       : DISP_E_OVERFLOW;
        case Kind::kText: {
            ParsedNumber number;
            if (!ParseNumberText(value.text, number)) return DISP_E_TYPEMISMATCH;
            return DecimalValue::FromParsed(number, result) ? S_OK : DISP_E_OVERFLOW;
        }
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToCurrency(const Scalar& value, long long& result) {
    if (value.kind == Scalar::Kind::kCurrency) {
        result = value.integer;
        return S_OK;
    }
    if (value.kind == Scalar::Kind::kDouble || value.kind == Scalar::Kind::kDate) {
        const double scaled = std::nearbyint(value.real * kCurrencyScale);
        if (!(scaled >= -kTwoTo63 && scaled < kTwoTo63)) return DISP_E_OVERFLOW;
        result = static_cast<long long>(scaled);
        return S_OK;
    }
    DecimalValue decimal;
    if (const HRESULT hr = ToDecimalValue(value, decimal); FAILED(hr)) return hr;
    // Up-scale to four places, then round away anything finer.
    while (decimal.scale < 4) {
        decimal.magnitude *= 10;
        ++decimal.scale;
        if (decimal.magnitude >> 64 != 0) return DISP_E_OVERFLOW;
    }
    const DecimalValue rounded = decimal.Rescaled(4);
    if (rounded.magnitude > static_cast<unsigned __int128>(std::numeric_limits<long long>::max()) +
                                (rounded.negative ? 1 : 0)) {
        return DISP_E_OVERFLOW;
    }
    const auto magnitude = static_cast<unsigned long long>(rounded.magnitude);
    result = rounded.negative ? static_cast<long long>(0 - magnitude)
                              : static_cast<long long>(magnitude);
    return S_OK;
}

HRESULT ToBool(const Scalar& value, bool& result) {
    using Kind = Scalar::Kind;
    switch (value.kind) {
        case Kind::kEmpty:
            result = false;
            return S_OK;
        case Kind::kBool:
            result = value.boolean;
            return S_OK;
        case Kind::kSigned:
        case Kind::kCurrency:
            result = value.integer != 0;
            return S_OK;
        case Kind::kUnsigned:
            result = value.unsignedInteger != 0;
            return S_OK;
        case Kind::kDouble:
        case Kind::kDate:
            result = value.real != 0;
            return S_OK;
        case Kind::kDecimal:
            result = value.decimal.magnitude != 0;
            return S_OK;
        case Kind::kText: {
            std::u16string_view text = value.text;
            while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
            while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
            if (EqualsFolded(text, u"true") || EqualsFolded(text, u"#true#")) {
                result = true;
                return S_OK;
            }
            if (EqualsFolded(text, u"false") || EqualsFolded(text, u"#false#")) {
                result = false;
                return S_OK;
            }
            ParsedNumber number;
            if (!ParseNumberText(value.text, number)) return DISP_E_TYPEMISMATCH;
            result = !number.digits.empty();
            return S_OK;
        }
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToText(const Scalar& value, USHORT flags, std::u16string& result) {
    using Kind = Scalar::Kind;
    switch (value.kind) {
        case Kind::kEmpty:
            result.clear();
            return S_OK;
        case Kind::kBool:
            if ((flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)) != 0) {
                result = value.boolean ? u"True" : u"False";
            } else {
                result = value.boolean ? u"-1" : u"0";
            }
            return S_OK;
        case Kind::kSigned:
            result = Utf8ToUtf16(std::to_string(value.integer));
            return S_OK;
        case Kind::kUnsigned:
            result = Utf8ToUtf16(std::to_string(value.unsignedInteger));
            return S_OK;
        case Kind::kDouble:
            result = FormatDouble(value.real, value.single ? 7 : 15);
            return S_OK;
        case Kind::kDate:
            return FormatDate(value.real, result) ? S_OK : DISP_E_OVERFLOW;
        case Kind::kDecimal:
            result = value.decimal.ToText();
            return S_OK;
        case Kind::kCurrency: {
            DecimalValue decimal;
            ToDecimalValue(value, decimal);
            result = decimal.ToText();
            return S_OK;
        }
        case Kind::kText:
            result.assign(value.text);
            return S_OK;
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

// Converts value to vt into result (a by-value VARIANT that owns what it holds on success).
HRESULT Convert(const VARIANT& source, const Scalar& value, USHORT flags, VARTYPE vt,
                VARIANT& result) {
    using Kind = Scalar::Kind;
    VariantInit(&result);
    if (value.kind == Kind::kNull) {
        // Null converts to nothing but itself, or to empty.
        if (vt != VT_NULL && vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
        result.vt = vt;
        return S_OK;
    }
    HRESULT hr = S_OK;
    long long signedValue = 0;
    unsigned long long unsignedValue = 0;
    double real = 0;
    switch (vt) {
        case VT_EMPTY:
            break;
        case VT_NULL:
            if (value.kind != Kind::kEmpty) return DISP_E_TYPEMISMATCH;
            break;
        case VT_I1:
            hr = ToSigned(value, -128, 127, signedValue);
            result.cVal = static_cast<CHAR>(signedValue);
            break;
        case VT_I2:
            hr = ToSigned(value, -32768, 32767, signedValue);
            result.iVal = static_cast<SHORT>(signedValue);
            break;
        case VT_I4:
        case VT_INT:
            hr = ToSigned(value, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max(),
                          signedValue);
            result.lVal = static_cast<LONG>(signedValue);
            break;
        case VT_I8:
            hr = ToSigned(value, std::numeric_limits<long long>::min(),
                          std::numeric_limits<long long>::max(), signedValue);
            result.llVal = signedValue;
            break;
        case VT_UI1:
            hr = ToUnsigned(value, 0xFF, unsignedValue);
            result.bVal = static_cast<BYTE>(unsignedValue);
            break;
        case VT_UI2:
            hr = ToUnsigned(value, 0xFFFF, unsignedValue);
            result.uiVal = static_cast<USHORT>(unsignedValue);
            break;
        case VT_UI4:
        case VT_UINT:
            hr = ToUnsigned(value, 0xFFFFFFFFu, unsignedValue);
            result.ulVal = static_cast<ULONG>(unsignedValue);
            break;
        case VT_UI8:
            hr = ToUnsigned(value, std::numeric_limits<unsigned long long>::max(), unsignedValue);
            result.ullVal = unsignedValue;
            break;
        case VT_R4:
            hr = ToReal(value, real);
            // Values just above FLT_MAX that round down to it still fit; NaN stays NaN.
            if (SUCCEEDED(hr) && (std::isinf(real) || std::isinf(static_cast<float>(real)))) {
                hr = DISP_E_OVERFLOW;
            }
            result.fltVal = SUCCEEDED(hr) ? static_cast<float>(real) : 0.0f;
            break;
        case VT_R8:
            hr = ToReal(value, real);
            result.dblVal = real;
            break;
        case VT_DATE:
            if (value.kind == Kind::kText) {
                hr = ParseDate(value.text, real) ? S_OK : DISP_E_TYPEMISMATCH;
            } else {
                hr = ToReal(value, real);
                if (SUCCEEDED(hr) && !IsValidDate(real)) hr = DISP_E_OVERFLOW;
            }
            result.date = real;
            break;
        case VT_CY:
            hr = ToCurrency(value, signedValue);
            result.cyVal.int64 = signedValue;
            break;
        case VT_BOOL: {
            bool boolean = false;
            hr = ToBool(value, boolean);
            result.boolVal = boolean ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        }
        case VT_DECIMAL: {
            DecimalValue decimal;
            hr = ToDecimalValue(value, decimal);
            if (SUCCEEDED(hr)) decimal.ToDecimal(result.decVal);
            break;
        }
        case VT_BSTR: {
            std::u16string text;
            hr = ToText(value, flags, text);
            if (SUCCEEDED(hr)) {
                // A null BSTR stays null; any other text becomes a new BSTR.
                if (value.kind == Kind::kText && source.bstrVal == nullptr) {
                    result.bstrVal = nullptr;
                } else {
                    result.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
                    if (result.bstrVal == nullptr) return E_OUTOFMEMORY;
                }
            }
            break;
        }
        case VT_ERROR:
            if (value.kind != Kind::kError) return DISP_E_TYPEMISMATCH;
            result.scode = static_cast<SCODE>(value.integer);
            break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            // Objects convert only between the two object types, through QueryInterface.
            if (value.kind != Kind::kObject) return DISP_E_TYPEMISMATCH;
            result.punkVal = nullptr;
            if (source.punkVal != nullptr && FAILED(source.punkVal->QueryInterface(
                                                 vt == VT_DISPATCH ? kIidDispatch : IID_IUnknown,
                                                 reinterpret_cast<void**>(&result.punkVal)))) {
                return DISP_E_TYPEMISMATCH;
            }
            break;
        default:
            return DISP_E_BADVARTYPE;
    }
    if (FAILED(hr)) return hr;
    result.vt = vt;
    return S_OK;
}

bool IsConvertibleTarget(VARTYPE vt) {
    return vt != VT_VARIANT && IsValidVariantType(vt) && (vt & VT_BYREF) == 0;
}

}  // namespace

}  // namespace comrt

STDAPI VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID /*lcid*/,
                           USHORT wFlags, VARTYPE vt) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (pvargDest == nullptr || pvarSrc == nullptr) return E_INVALIDARG;
        if (!comrt::IsValidVariantType(pvarSrc->vt)) return DISP_E_BADVARTYPE;
        if (!comrt::IsConvertibleTarget(vt) && vt != VT_EMPTY && vt != VT_NULL) {
            return DISP_E_BADVARTYPE;
        }
        VARIANT source;
        if (const HRESULT hr = comrt::Dereference(*pvarSrc, source); FAILED(hr)) return hr;
        comrt::Scalar value;
        if (const HRESULT hr = comrt::Extract(source, value); FAILED(hr)) return hr;
        // Same type and by value: a plain copy, which also handles dest == src.
        if (source.vt == vt && (pvarSrc->vt & VT_BYREF) == 0) {
            return pvargDest == pvarSrc ? S_OK : VariantCopy(pvargDest, pvarSrc);
        }
        VARIANT result;
        if (const HRESULT hr = comrt::Convert(source, value, wFlags, vt, result); FAILED(hr)) {
            return hr;
        }
        // The destination is cleared only now: a failed conversion leaves it as it was, and an
        // in-place conversion has read its source before the clear frees it.
        if (const HRESULT hr = VariantClear(pvargDest); FAILED(hr)) {
            VariantClear(&result);
            return hr;
        }
        *pvargDest = result;
        return S_OK;
    });
}

STDAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags,
                         VARTYPE vt) {
    return VariantChangeTypeEx(pvargDest, pvarSrc, GetThreadLocale(), wFlags, vt);
}
