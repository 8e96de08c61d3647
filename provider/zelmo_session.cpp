// ZelmoSession's own operations: OpenRowset, IGetSelf, error information support, restriction
// masks and the way to the data source.
#include "provider/zelmo_session.h"

#include "provider/zelmo_data_source.h"
#include "provider/zelmo_rowset.h"

STDMETHODIMP ZelmoSession::OpenRowset(IUnknown* pUnkOuter, DBID* pTableID, DBID* pIndexID,
                                      REFIID riid, ULONG cPropertySets, DBPROPSET rgPropertySets[],
                                      IUnknown** ppRowset) {
    ZelmoRowset* created = nullptr;
    return CreateRowset<ZelmoRowset>(pUnkOuter, pTableID, pIndexID, riid, cPropertySets,
                                     rgPropertySets, ppRowset, created);
}

STDMETHODIMP ZelmoSession::GetSelf(void** pSelf) {
    if (pSelf == nullptr) return E_INVALIDARG;
    *pSelf = this;
    return S_OK;
}

STDMETHODIMP ZelmoSession::InterfaceSupportsErrorInfo(REFIID) { return S_OK; }

void ZelmoSession::SetRestrictions(ULONG cSchemas, GUID* rguidSchema, ULONG* rgRestrictions) {
    if (rguidSchema == nullptr || rgRestrictions == nullptr) return;
    for (ULONG i = 0; i < cSchemas; ++i) {
        if (rguidSchema[i] == DBSCHEMA_TABLES || rguidSchema[i] == DBSCHEMA_COLUMNS)
            rgRestrictions[i] = 4;
        else if (rguidSchema[i] == DBSCHEMA_PROVIDER_TYPES)
            rgRestrictions[i] = 0;
    }
}

ZelmoDataSource* ZelmoSession::GetDataSourceObject() {
    if (!m_spUnkSite) return nullptr;
    CComPtr<IGetSelf> getSelf;
    if (FAILED(m_spUnkSite->QueryInterface(IID_IGetSelf, reinterpret_cast<void**>(&getSelf))))
        return nullptr;
    void* self = nullptr;
    if (FAILED(getSelf->GetSelf(&self))) return nullptr;
    return static_cast<ZelmoDataSource*>(self);
}
