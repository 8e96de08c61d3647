// IPersist: the class id of the object's class.
#pragma once

#include "com_guard.h"
#include "com_interfaces.h"

template <class T>
class IPersistImpl : public IPersist {
  public:
    STDMETHOD(GetClassID)(CLSID* pClassID) override {
        return ComGuard([&]() -> HRESULT {
            if (pClassID == nullptr) return E_POINTER;
            *pClassID = T::GetObjectCLSID();
            return S_OK;
        });
    }
};
