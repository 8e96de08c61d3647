// IServiceProvider through a service map: BEGIN_SERVICE_MAP(T), SERVICE_ENTRY(guid),
// SERVICE_ENTRY_CHAIN(punk), END_SERVICE_MAP().
#pragma once

#include "com_guard.h"
#include "com_interfaces.h"
#include "com_ptr.h"

template <class T>
class IServiceProviderImpl : public IServiceProvider {
  public:
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override {
        return ComGuard([&]() -> HRESULT {
            return static_cast<T*>(this)->_InternalQueryService(guidService, riid, ppvObject);
        });
    }
};

#define BEGIN_SERVICE_MAP(x)                                                            \
  public:                                                                               \
    HRESULT _InternalQueryService(REFGUID guidService, REFIID riid, void** ppvObject) { \
        if (ppvObject == nullptr) return E_POINTER;                                     \
        *ppvObject = nullptr;

// The service is this object: answered by its own QueryInterface.
#define SERVICE_ENTRY(x) \
    if (InlineIsEqualGUID(guidService, x)) return QueryInterface(riid, ppvObject);

// Asks another object's service provider.
#define SERVICE_ENTRY_CHAIN(x)                                                               \
    {                                                                                        \
        CComQIPtr<IServiceProvider> spProvider(x);                                           \
        if (spProvider && SUCCEEDED(spProvider->QueryService(guidService, riid, ppvObject))) \
            return S_OK;                                                                     \
        *ppvObject = nullptr;                                                                \
    }

#define END_SERVICE_MAP() \
    return E_NOINTERFACE; \
    }
