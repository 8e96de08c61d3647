// IDBProperties for data sources: before Initialize only the initialisation sets; after it the
// data source's own sets, and GetPropertyInfo also lists the sets its map chains in.
#pragma once

#include <vector>

#include "com_guard.h"
#include "db_initialize_impl.h"
#include "util_props.h"

template <class T>
class IDBPropertiesImpl : public IDBProperties, public CUtlProps<T> {
  public:
    STDMETHOD(GetProperties)
    (ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) override {
        return ComGuard([&]() -> HRESULT {
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->GetPropertiesFor(ValueAccess(), true, cPropertyIDSets, rgPropertyIDSets,
                                          pcPropertySets, prgPropertySets);
        });
    }

    STDMETHOD(GetPropertyInfo)
    (ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertyInfoSets,
     DBPROPINFOSET** prgPropertyInfoSets, OLECHAR** ppDescBuffer) override {
        return ComGuard([&]() -> HRESULT {
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->GetPropertyInfoFor(InfoAccess(), cPropertyIDSets, rgPropertyIDSets,
                                            pcPropertyInfoSets, prgPropertyInfoSets, ppDescBuffer);
        });
    }

    STDMETHOD(SetProperties)(ULONG cPropertySets, DBPROPSET rgPropertySets[]) override {
        return ComGuard([&]() -> HRESULT {
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->SetPropertiesFor(ValueAccess(), cPropertySets, rgPropertySets);
        });
    }

  protected:
    using SetAccess = util_props_detail::SetAccess;

    bool DataSourceInitialized() {
        return (static_cast<T*>(this)->m_dwStatus & DSF_INITIALIZED) != 0;
    }

    // Values: the initialisation sets, read-only once initialised; the other own sets only then.
    std::vector<SetAccess> ValueAccess() {
        const bool initialized = DataSourceInitialized();
        std::vector<SetAccess> access;
        for (ULONG s = 0; s < this->GetCountOfPropertySets(); ++s) {
            const UPROPSET& set = this->GetPropertySet(s);
            if (set.chained)
                access.push_back(SetAccess::kHidden);
            else if (util_props_detail::IsInitSet(set))
                access.push_back(initialized ? SetAccess::kReadOnly : SetAccess::kWritable);
            else
                access.push_back(initialized ? SetAccess::kWritable : SetAccess::kHidden);
        }
        return access;
    }

    // Information: the initialisation sets before Initialize, every set of the map after it.
    std::vector<SetAccess> InfoAccess() {
        const bool initialized = DataSourceInitialized();
        std::vector<SetAccess> access;
        for (ULONG s = 0; s < this->GetCountOfPropertySets(); ++s) {
            const bool visible =
                initialized || util_props_detail::IsInitSet(this->GetPropertySet(s));
            access.push_back(visible ? SetAccess::kReadOnly : SetAccess::kHidden);
        }
        return access;
    }
};
