// Creation of a framework child object (session, command): a CComPolyObject, aggregated when the
// consumer asks, with its creator as its site.
#pragma once

#include "com_interfaces.h"
#include "com_object.h"
#include "com_ptr.h"

template <class ChildClass>
HRESULT CreateChildObject(IUnknown* creatorUnknown, IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_INVALIDARG;
    *ppv = nullptr;
    CComPolyObject<ChildClass>* object = nullptr;
    HRESULT hr = CComPolyObject<ChildClass>::CreateInstance(pUnkOuter, &object);
    if (FAILED(hr)) return hr;
    // A temporary reference, so that any failure below destroys the new object.
    object->AddRef();
    CComPtr<IObjectWithSite> withSite;
    hr = object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
    if (SUCCEEDED(hr)) hr = withSite->SetSite(creatorUnknown);
    withSite = nullptr;
    if (SUCCEEDED(hr)) hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}
