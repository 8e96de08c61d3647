// Property bag values as text for the property pages.
#include "provider/page_text.h"

#include "com_runtime.h"

HRESULT ReadBagText(IPropertyBag* bag, LPCOLESTR name, IErrorLog* errorLog,
                    std::optional<std::u16string>& text) {
    text.reset();
    VARIANT value;
    VariantInit(&value);
    // The type asks for text; a null BSTR keeps the VARIANT valid for a bag that clears it.
    value.vt = VT_BSTR;
    value.bstrVal = nullptr;
    const HRESULT hr = bag->Read(name, &value, errorLog);
    if (FAILED(hr)) {
        VariantClear(&value);
        return hr;
    }
    // Empty would convert to "", which is no value the host gave.
    VARIANT converted;
    VariantInit(&converted);
    if (value.vt == VT_BSTR ||
        (value.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&converted, &value, 0, VT_BSTR)))) {
        const VARIANT& source = value.vt == VT_BSTR ? value : converted;
        text.emplace();
        if (source.bstrVal != nullptr) text->assign(source.bstrVal, SysStringLen(source.bstrVal));
    }
    VariantClear(&converted);
    VariantClear(&value);
    return hr;
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the bag's own argument order
HRESULT WriteBagText(IPropertyBag* bag, LPCOLESTR name, const WCHAR* text) {
    VARIANT value;
    VariantInit(&value);
    value.bstrVal = SysAllocString(text != nullptr ? text : u"");
    if (value.bstrVal == nullptr) return E_OUTOFMEMORY;
    value.vt = VT_BSTR;
    const HRESULT hr = bag->Write(name, &value);
    VariantClear(&value);
    return hr;
}
