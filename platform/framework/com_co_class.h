// The base of a creatable class: its class id, its default class factory and creator, and the
// registry declarations it may add.
#pragma once

#include "atl_module.h"
#include "com_class_factory.h"
#include "com_creator.h"

template <class T, const CLSID* pclsid = &CLSID_NULL>
class CComCoClass {
  public:
    DECLARE_CLASSFACTORY()
    DECLARE_AGGREGATABLE(T)

    static const CLSID& GetObjectCLSID() { return *pclsid; }
    static LPCOLESTR GetObjectDescription() { return nullptr; }

    template <class Q>
    static HRESULT CreateInstance(IUnknown* punkOuter, Q** pp) {
        return T::_CreatorClass::CreateInstance(punkOuter, __uuidof(Q),
                                                reinterpret_cast<void**>(pp));
    }
    template <class Q>
    static HRESULT CreateInstance(Q** pp) {
        return T::_CreatorClass::CreateInstance(nullptr, __uuidof(Q), reinterpret_cast<void**>(pp));
    }
};

// The class's registry script is the "REGISTRY" resource x of its module.
#define DECLARE_REGISTRY_RESOURCEID(x)                                \
    static HRESULT UpdateRegistry(BOOL bRegister) {                   \
        if (_pAtlModule == nullptr) return E_UNEXPECTED;              \
        return _pAtlModule->UpdateRegistryFromResource(x, bRegister); \
    }

// A class that registers nothing of its own.
#define DECLARE_NO_REGISTRY() \
    static HRESULT UpdateRegistry(BOOL) { return S_OK; }
