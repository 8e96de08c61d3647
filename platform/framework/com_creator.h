// Creator classes: how a class's objects come to life (standalone, aggregated, refused), and the
// macros a class uses to choose among them.
#pragma once

#include "com_object.h"

using _ATL_CREATORFUNC = HRESULT(void* pv, REFIID riid, void** ppv);

// Creates T1(pv) and answers riid; pv is the outer unknown (or the creator of a class factory).
template <class T1>
class CComCreator {
  public:
    static HRESULT CreateInstance(void* pv, REFIID riid, void** ppv) {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        // An aggregated object must hand its inner unknown to the outer, nothing else.
        if (pv != nullptr && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        T1* p = nullptr;
        HRESULT hr = com_object_detail::CreateObject<T1>(pv, &p);
        if (FAILED(hr)) return hr;
        // A temporary reference, so that a failing QueryInterface destroys the object.
        p->AddRef();
        hr = p->QueryInterface(riid, ppv);
        p->Release();
        return hr;
    }
};

// T1 when created standalone (pv null), T2 when aggregated.
template <class T1, class T2>
class CComCreator2 {
  public:
    static HRESULT CreateInstance(void* pv, REFIID riid, void** ppv) {
        return pv == nullptr ? T1::CreateInstance(nullptr, riid, ppv)
                             : T2::CreateInstance(pv, riid, ppv);
    }
};

template <HRESULT hr>
class CComFailCreator {
  public:
    static HRESULT CreateInstance(void*, REFIID, void** ppv) {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        return hr;
    }
};

#define DECLARE_AGGREGATABLE(x) \
  public:                       \
    using _CreatorClass = CComCreator2<CComCreator<CComObject<x>>, CComCreator<CComAggObject<x>>>;

#define DECLARE_NOT_AGGREGATABLE(x) \
  public:                           \
    using _CreatorClass =           \
        CComCreator2<CComCreator<CComObject<x>>, CComFailCreator<CLASS_E_NOAGGREGATION>>;

#define DECLARE_ONLY_AGGREGATABLE(x) \
  public:                            \
    using _CreatorClass = CComCreator2<CComFailCreator<E_FAIL>, CComCreator<CComAggObject<x>>>;

#define DECLARE_POLY_AGGREGATABLE(x) \
  public:                            \
    using _CreatorClass = CComCreator<CComPolyObject<x>>;
