// IObjectWithSite: keeps the site a creator hands to a child object.
#pragma once

#include "com_guard.h"
#include "com_interfaces.h"
#include "com_ptr.h"

template <class T>
class IObjectWithSiteImpl : public IObjectWithSite {
  public:
    STDMETHOD(SetSite)(IUnknown* pUnkSite) override {
        return ComGuard([&]() -> HRESULT {
            m_spUnkSite = pUnkSite;
            return S_OK;
        });
    }
    // E_FAIL when no site has been set; *ppvSite is null then.
    STDMETHOD(GetSite)(REFIID riid, void** ppvSite) override {
        return ComGuard([&]() -> HRESULT {
            if (ppvSite == nullptr) return E_POINTER;
            *ppvSite = nullptr;
            if (!m_spUnkSite) return E_FAIL;
            return m_spUnkSite->QueryInterface(riid, ppvSite);
        });
    }

    // Sets this object's own unknown as the child's site.
    HRESULT SetChildSite(IObjectWithSite* pChild) {
        if (pChild == nullptr) return E_POINTER;
        return pChild->SetSite(static_cast<T*>(this)->GetUnknown());
    }

    CComPtr<IUnknown> m_spUnkSite;
};
