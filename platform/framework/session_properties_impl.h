// ISessionProperties: the session's own property sets.
#pragma once

#include "com_guard.h"
#include "util_props.h"

template <class T>
class ISessionPropertiesImpl : public ISessionProperties, public CUtlProps<T> {
  public:
    STDMETHOD(GetProperties)
    (ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) override {
        return ComGuard([&]() -> HRESULT {
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->GetPropertiesFor(this->OwnSetsAccess(SetAccess::kWritable), false,
                                          cPropertyIDSets, rgPropertyIDSets, pcPropertySets,
                                          prgPropertySets);
        });
    }

    STDMETHOD(SetProperties)(ULONG cPropertySets, DBPROPSET rgPropertySets[]) override {
        return ComGuard([&]() -> HRESULT {
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->SetPropertiesFor(this->OwnSetsAccess(SetAccess::kWritable), cPropertySets,
                                          rgPropertySets);
        });
    }

  protected:
    using SetAccess = util_props_detail::SetAccess;
};
