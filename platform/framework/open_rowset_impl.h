// IOpenRowset for sessions: the published argument checks of OpenRowset, then the rowset creation
// with the session as the rowset's site. The provider's OpenRowset calls CreateRowset.
#pragma once

#include <type_traits>
#include <utility>
#include <vector>

#include "com_guard.h"
#include "com_ptr.h"
#include "oledb.h"
#include "rowset_creation.h"
#include "util_props.h"

namespace open_rowset_detail {
inline HRESULT CheckPropertySets(ULONG cPropertySets, const DBPROPSET rgPropertySets[]) {
    if (cPropertySets != 0 && rgPropertySets == nullptr) return E_INVALIDARG;
    for (ULONG i = 0; i < cPropertySets; ++i)
        if (rgPropertySets[i].cProperties != 0 && rgPropertySets[i].rgProperties == nullptr)
            return E_INVALIDARG;
    return S_OK;
}

inline bool IsValidTableId(const DBID& id) {
    if (id.eKind > DBKIND_GUID) return false;
    const bool named =
        id.eKind == DBKIND_NAME || id.eKind == DBKIND_GUID_NAME || id.eKind == DBKIND_PGUID_NAME;
    return !named || id.uName.pwszName != nullptr;
}

template <class R, class = void>
struct HasPropertySets : std::false_type {};
template <class R>
struct HasPropertySets<R, std::void_t<decltype(std::declval<R&>().SetPropertiesFor(
                              std::declval<const std::vector<util_props_detail::SetAccess>&>(),
                              ULONG{}, static_cast<DBPROPSET*>(nullptr)))>> : std::true_type {};

// Sets the consumer's properties on the new rowset with SetProperties' rules and statuses. A
// required property that is not set fails the call (DB_E_ERRORSOCCURRED), an optional one makes
// it DB_S_ERRORSOCCURRED.
template <class RowsetClass>
HRESULT ApplyProperties(RowsetClass* rowset, ULONG cPropertySets, DBPROPSET rgPropertySets[]) {
    if constexpr (HasPropertySets<RowsetClass>::value) {
        const HRESULT hr = rowset->EnsureInit();
        if (FAILED(hr)) return hr;
        rowset->SetPropertiesFor(rowset->OwnSetsAccess(util_props_detail::SetAccess::kWritable),
                                 cPropertySets, rgPropertySets);
    } else {
        for (ULONG i = 0; i < cPropertySets; ++i)
            for (ULONG k = 0; k < rgPropertySets[i].cProperties; ++k)
                rgPropertySets[i].rgProperties[k].dwStatus = DBPROPSTATUS_NOTSUPPORTED;
    }
    bool requiredFailed = false;
    bool optionalFailed = false;
    for (ULONG i = 0; i < cPropertySets; ++i) {
        for (ULONG k = 0; k < rgPropertySets[i].cProperties; ++k) {
            const DBPROP& prop = rgPropertySets[i].rgProperties[k];
            if (prop.dwStatus == DBPROPSTATUS_OK) continue;
            if (prop.dwOptions == DBPROPOPTIONS_OPTIONAL)
                optionalFailed = true;
            else
                requiredFailed = true;
        }
    }
    if (requiredFailed) return DB_E_ERRORSOCCURRED;
    return optionalFailed ? DB_S_ERRORSOCCURRED : S_OK;
}
}  // namespace open_rowset_detail

template <class T>
class IOpenRowsetImpl : public IOpenRowset {
  public:
    // The rowset's Execute judges the table; with a null ppRowset the rowset is made, executed
    // and dropped, so the answer still says whether it could be opened. The framework knows no
    // indexes: any index id gives DB_E_NOINDEX. The consumer's properties are set on the rowset
    // once it exists (the shared rowset creation runs Execute as part of making it).
    template <class RowsetClass>
    HRESULT CreateRowset(IUnknown* pUnkOuter, DBID* pTableID, DBID* pIndexID, REFIID riid,
                         ULONG cPropertySets, DBPROPSET rgPropertySets[], IUnknown** ppRowset,
                         RowsetClass*& pRowsetObj) {
        return ComGuard([&]() -> HRESULT {
            pRowsetObj = nullptr;
            if (ppRowset != nullptr) *ppRowset = nullptr;
            if (pTableID == nullptr && pIndexID == nullptr) return E_INVALIDARG;
            HRESULT hr = open_rowset_detail::CheckPropertySets(cPropertySets, rgPropertySets);
            if (FAILED(hr)) return hr;
            if (pUnkOuter != nullptr && riid != IID_IUnknown) return DB_E_NOAGGREGATION;
            if (pIndexID != nullptr) return DB_E_NOINDEX;
            if (!open_rowset_detail::IsValidTableId(*pTableID)) return DB_E_BADTABLEID;
            T* pT = static_cast<T*>(this);
            CComPtr<IUnknown> rowset;
            DBROWCOUNT rowsAffected = 0;
            RowsetClass* created = nullptr;
            hr = CreateRowsetObject<RowsetClass>(pT, pT->GetUnknown(), pUnkOuter, riid, nullptr,
                                                 &rowsAffected, &rowset, created);
            if (FAILED(hr)) return hr;
            const HRESULT propertiesHr =
                open_rowset_detail::ApplyProperties(created, cPropertySets, rgPropertySets);
            if (FAILED(propertiesHr)) return propertiesHr;
            if (ppRowset != nullptr) {
                *ppRowset = rowset.Detach();
                pRowsetObj = created;
            }
            return propertiesHr == S_OK ? hr : propertiesHr;
        });
    }
};
