// IOpenRowset for sessions: the published argument checks of OpenRowset, then the rowset creation
// with the session as the rowset's site. The provider's OpenRowset calls CreateRowset.
#pragma once

#include "com_guard.h"
#include "com_ptr.h"
#include "oledb.h"
#include "rowset_creation.h"

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

// Sets the consumer's properties on the new rowset: a required one that cannot be set fails the
// call (DB_E_ERRORSOCCURRED), an optional one makes it DB_S_ERRORSOCCURRED.
template <class RowsetClass>
HRESULT ApplyProperties(RowsetClass* rowset, ULONG cPropertySets, DBPROPSET rgPropertySets[]) {
    bool requiredFailed = false;
    bool optionalFailed = false;
    for (ULONG i = 0; i < cPropertySets; ++i) {
        DBPROPSET& set = rgPropertySets[i];
        for (ULONG k = 0; k < set.cProperties; ++k) {
            DBPROP& prop = set.rgProperties[k];
            const bool accepted = SUCCEEDED(
                rowset->SetPropValue(&set.guidPropertySet, prop.dwPropertyID, &prop.vValue));
            prop.dwStatus = accepted ? DBPROPSTATUS_OK : DBPROPSTATUS_NOTSUPPORTED;
            if (accepted) continue;
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
    // indexes: any index id gives DB_E_NOINDEX.
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
