// IGetDataSource for sessions: the data source that created the session (its site).
#pragma once

#include "com_guard.h"
#include "oledb.h"

template <class T>
class IGetDataSourceImpl : public IGetDataSource {
  public:
    STDMETHOD(GetDataSource)(REFIID riid, IUnknown** ppDataSource) override {
        return ComGuard([&]() -> HRESULT {
            if (ppDataSource == nullptr) return E_INVALIDARG;
            *ppDataSource = nullptr;
            IUnknown* site = static_cast<T*>(this)->m_spUnkSite;
            if (site == nullptr) return E_UNEXPECTED;
            return site->QueryInterface(riid, reinterpret_cast<void**>(ppDataSource));
        });
    }
};
