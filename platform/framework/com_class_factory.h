// The class factory the object map hands out: creates objects through the class's creator and
// locks the module on request.
#pragma once

#include "com_creator.h"
#include "com_guard.h"

class CComClassFactory : public IClassFactory, public CComObjectRootEx<CComGlobalsThreadModel> {
  public:
    BEGIN_COM_MAP(CComClassFactory)
    COM_INTERFACE_ENTRY(IClassFactory)
    END_COM_MAP()

    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override {
        return ComGuard([&]() -> HRESULT {
            if (ppvObject == nullptr) return E_POINTER;
            *ppvObject = nullptr;
            // An outer object may only ask for the inner unknown.
            if (pUnkOuter != nullptr && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
            if (m_pfnCreateInstance == nullptr) return E_UNEXPECTED;
            return m_pfnCreateInstance(pUnkOuter, riid, ppvObject);
        });
    }

    STDMETHOD(LockServer)(BOOL fLock) override {
        return ComGuard([&]() -> HRESULT {
            if (_pAtlModule == nullptr) return S_OK;
            if (fLock)
                _pAtlModule->Lock();
            else
                _pAtlModule->Unlock();
            return S_OK;
        });
    }

    // pv points at the creator function of the class this factory serves.
    void SetVoid(void* pv) {
        if (pv != nullptr) m_pfnCreateInstance = *static_cast<_ATL_CREATORFUNC**>(pv);
    }

    _ATL_CREATORFUNC* m_pfnCreateInstance = nullptr;
};

#define DECLARE_CLASSFACTORY_EX(cf) \
  public:                           \
    using _ClassFactoryCreatorClass = CComCreator<CComObjectCached<cf>>;
#define DECLARE_CLASSFACTORY() DECLARE_CLASSFACTORY_EX(CComClassFactory)
