// IDBCreateSession for data sources: sessions of an initialised data source, aggregatable, with
// the data source as their site, up to the DBPROP_ACTIVESESSIONS limit (0: no limit).
#pragma once

#include <type_traits>
#include <utility>

#include "child_object.h"
#include "com_guard.h"
#include "db_initialize_impl.h"

namespace db_create_session_detail {
template <class T, class = void>
struct HasPropValue : std::false_type {};
template <class T>
struct HasPropValue<
    T, std::void_t<decltype(std::declval<T&>().GetPropValue(
           static_cast<const GUID*>(nullptr), DBPROPID{}, static_cast<VARIANT*>(nullptr)))>>
    : std::true_type {};

template <class T>
bool SessionLimitReached(T* dataSource) {
    if constexpr (HasPropValue<T>::value) {
        VARIANT limit;
        VariantInit(&limit);
        if (FAILED(
                dataSource->GetPropValue(&DBPROPSET_DATASOURCEINFO, DBPROP_ACTIVESESSIONS, &limit)))
            return false;
        const bool reached =
            limit.vt == VT_I4 && limit.lVal > 0 &&
            db_initialize_detail::OpenSessions(dataSource) >= static_cast<ULONG>(limit.lVal);
        VariantClear(&limit);
        return reached;
    } else {
        (void)dataSource;
        return false;
    }
}
}  // namespace db_create_session_detail

template <class T, class SessionObj>
class IDBCreateSessionImpl : public IDBCreateSession {
  public:
    STDMETHOD(CreateSession)(IUnknown* pUnkOuter, REFIID riid, IUnknown** ppDBSession) override {
        return ComGuard([&]() -> HRESULT {
            if (ppDBSession == nullptr) return E_INVALIDARG;
            *ppDBSession = nullptr;
            T* pT = static_cast<T*>(this);
            if (!(pT->m_dwStatus & DSF_INITIALIZED)) return E_UNEXPECTED;
            if (pUnkOuter != nullptr && riid != IID_IUnknown) return DB_E_NOAGGREGATION;
            if (db_create_session_detail::SessionLimitReached(pT))
                return DB_E_OBJECTCREATIONLIMITREACHED;
            return CreateChildObject<SessionObj>(pT->GetUnknown(), pUnkOuter, riid,
                                                 reinterpret_cast<void**>(ppDBSession));
        });
    }
};
