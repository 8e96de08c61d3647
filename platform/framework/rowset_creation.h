// Rowset creation for commands, OpenRowset and the schema map: create the rowset (aggregated when
// asked), give it its site, properties, text and accessors, run its Execute, hand out riid.
#pragma once

#include <type_traits>
#include <utility>

#include "accessor_impl.h"
#include "com_object.h"
#include "com_runtime.h"
#include "oledb.h"

namespace rowset_creation_detail {

template <class R, class C, class = void>
struct CanInitFrom : std::false_type {};
template <class R, class C>
struct CanInitFrom<R, C, std::void_t<decltype(std::declval<R&>().FInit(std::declval<C*>()))>>
    : std::true_type {};

template <class R, class = void>
struct CanInitDefault : std::false_type {};
template <class R>
struct CanInitDefault<R, std::void_t<decltype(std::declval<R&>().FInit())>> : std::true_type {};

template <class X, class = void>
struct HasCommandText : std::false_type {};
template <class X>
struct HasCommandText<X, std::void_t<decltype(std::declval<X&>().m_strCommandText)>>
    : std::true_type {};

template <class R, class = void>
struct CanSetProperty : std::false_type {};
template <class R>
struct CanSetProperty<
    R, std::void_t<decltype(std::declval<R&>().SetPropValue(
           static_cast<const GUID*>(nullptr), DBPROPID{}, static_cast<VARIANT*>(nullptr)))>>
    : std::true_type {};

// Holds the new object's own reference until it is handed out; a failure releases it.
template <class RowsetClass>
class NewRowset {
  public:
    HRESULT Create(IUnknown* pUnkOuter) {
        HRESULT hr = CComPolyObject<RowsetClass>::CreateInstance(pUnkOuter, &m_object);
        if (FAILED(hr)) return hr;
        m_object->AddRef();
        return S_OK;
    }
    ~NewRowset() {
        if (m_object != nullptr) m_object->Release();
    }
    NewRowset() = default;
    NewRowset(const NewRowset&) = delete;
    NewRowset& operator=(const NewRowset&) = delete;

    RowsetClass* Rowset() { return &m_object->m_contained; }
    HRESULT Hand(REFIID riid, IUnknown** ppRowset) {
        return m_object->QueryInterface(riid, reinterpret_cast<void**>(ppRowset));
    }

  private:
    CComPolyObject<RowsetClass>* m_object = nullptr;
};

// Sets the consumer's rowset properties that the rowset knows; the others get a status. A
// required property that cannot be set fails the creation (DB_E_ERRORSOCCURRED); an optional one
// makes it DB_S_ERRORSOCCURRED.
template <class RowsetClass>
HRESULT ApplyRowsetProperties(RowsetClass* rowset, ULONG cPropertySets, DBPROPSET* rgPropertySets) {
    if (cPropertySets != 0 && rgPropertySets == nullptr) return E_INVALIDARG;
    bool optionalFailed = false;
    bool requiredFailed = false;
    for (ULONG s = 0; s < cPropertySets; ++s) {
        DBPROPSET& set = rgPropertySets[s];
        if (set.cProperties != 0 && set.rgProperties == nullptr) return E_INVALIDARG;
        for (ULONG p = 0; p < set.cProperties; ++p) {
            DBPROP& prop = set.rgProperties[p];
            HRESULT hr = E_FAIL;
            if constexpr (CanSetProperty<RowsetClass>::value)
                hr = rowset->SetPropValue(&set.guidPropertySet, prop.dwPropertyID, &prop.vValue);
            prop.dwStatus = SUCCEEDED(hr) ? DBPROPSTATUS_OK : DBPROPSTATUS_NOTSUPPORTED;
            if (FAILED(hr) && prop.dwOptions == DBPROPOPTIONS_REQUIRED) requiredFailed = true;
            if (FAILED(hr) && prop.dwOptions != DBPROPOPTIONS_REQUIRED) optionalFailed = true;
        }
    }
    if (requiredFailed) return DB_E_ERRORSOCCURRED;
    return optionalFailed ? DB_S_ERRORSOCCURRED : S_OK;
}

}  // namespace rowset_creation_detail

// The callers (ICommandImpl::CreateRowset, IOpenRowsetImpl) make the published argument checks
// first; this makes the object and runs its Execute(pParams, pcRowsAffected).
template <class RowsetClass, class Creator>
HRESULT CreateRowsetObject(Creator* creator, IUnknown* creatorUnknown, IUnknown* pUnkOuter,
                           REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
                           IUnknown** ppRowset, RowsetClass*& created) {
    using namespace rowset_creation_detail;
    created = nullptr;
    if (ppRowset == nullptr) return E_INVALIDARG;
    NewRowset<RowsetClass> object;
    HRESULT hr = object.Create(pUnkOuter);
    if (FAILED(hr)) return hr;
    RowsetClass* rowset = object.Rowset();
    hr = rowset->SetSite(creatorUnknown);
    if (FAILED(hr)) return hr;
    if constexpr (CanInitFrom<RowsetClass, Creator>::value) {
        hr = rowset->FInit(creator);
        if (FAILED(hr)) return hr;
    }
    if constexpr (HasCommandText<Creator>::value && HasCommandText<RowsetClass>::value)
        rowset->m_strCommandText = creator->m_strCommandText;
    if constexpr (std::is_base_of_v<IAccessorImpl<Creator>, Creator> &&
                  std::is_base_of_v<IAccessorImpl<RowsetClass>, RowsetClass>)
        rowset->InheritAccessors(*static_cast<IAccessorImpl<Creator>*>(creator));
    hr = rowset->Execute(pParams, pcRowsAffected);
    if (FAILED(hr)) return hr;
    hr = object.Hand(riid, ppRowset);
    if (SUCCEEDED(hr)) created = rowset;
    return hr;
}

// For the schema map: the session is the site, the rowset starts from its own property defaults
// plus the consumer's property sets, and Execute receives the consumer's restrictions.
template <class RowsetClass, class Session>
HRESULT CreateSchemaRowsetObject(Session* session, IUnknown* sessionUnknown, IUnknown* pUnkOuter,
                                 ULONG cRestrictions, const VARIANT* rgRestrictions, REFIID riid,
                                 ULONG cPropertySets, DBPROPSET* rgPropertySets,
                                 IUnknown** ppRowset) {
    using namespace rowset_creation_detail;
    (void)session;
    if (ppRowset == nullptr) return E_INVALIDARG;
    if (cRestrictions != 0 && rgRestrictions == nullptr) return E_INVALIDARG;
    NewRowset<RowsetClass> object;
    HRESULT hr = object.Create(pUnkOuter);
    if (FAILED(hr)) return hr;
    RowsetClass* rowset = object.Rowset();
    hr = rowset->SetSite(sessionUnknown);
    if (FAILED(hr)) return hr;
    if constexpr (CanInitDefault<RowsetClass>::value) {
        hr = rowset->FInit();
        if (FAILED(hr)) return hr;
    }
    const HRESULT propertiesHr = ApplyRowsetProperties(rowset, cPropertySets, rgPropertySets);
    if (FAILED(propertiesHr)) return propertiesHr;
    DBROWCOUNT rowsAffected = 0;
    hr = rowset->Execute(&rowsAffected, cRestrictions, rgRestrictions);
    if (FAILED(hr)) return hr;
    hr = object.Hand(riid, ppRowset);
    if (FAILED(hr)) return hr;
    return propertiesHr;
}
