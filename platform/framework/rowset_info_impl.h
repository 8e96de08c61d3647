// IRowsetInfo: a rowset's properties (those of the object that created it), its referenced
// rowsets and the object that created it.
#pragma once

#include <type_traits>
#include <utility>

#include "com_guard.h"
#include "util_props.h"

namespace rowset_info_detail {
template <class T, class = void>
struct HasColumnInfo : std::false_type {};
template <class T>
struct HasColumnInfo<
    T, std::void_t<decltype(T::GetColumnInfo(std::declval<T*>(), std::declval<DBORDINAL*>()))>>
    : std::true_type {};

template <class T, class = void>
struct HasSite : std::false_type {};
template <class T>
struct HasSite<T, std::void_t<decltype(std::declval<T&>().m_spUnkSite)>> : std::true_type {};
}  // namespace rowset_info_detail

template <class T, class PropClass = typename T::_PropClass>
class IRowsetInfoImpl : public IRowsetInfo {
  public:
    STDMETHOD(GetProperties)
    (const ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) override {
        return ComGuard([&]() -> HRESULT {
            auto* props = static_cast<PropClass*>(static_cast<T*>(this));
            const HRESULT hr = props->EnsureInit();
            if (FAILED(hr)) return hr;
            return props->GetPropertiesFor(
                props->OwnSetsAccess(util_props_detail::SetAccess::kReadOnly), false,
                cPropertyIDSets, rgPropertyIDSets, pcPropertySets, prgPropertySets);
        });
    }

    // The framework's rowsets have no bookmark or chapter columns.
    STDMETHOD(GetReferencedRowset)
    (DBORDINAL iOrdinal, REFIID riid, IUnknown** ppReferencedRowset) override {
        return ComGuard([&]() -> HRESULT {
            (void)riid;
            if (ppReferencedRowset == nullptr) return E_INVALIDARG;
            *ppReferencedRowset = nullptr;
            if (iOrdinal == 0) return DB_E_BADORDINAL;
            if constexpr (rowset_info_detail::HasColumnInfo<T>::value) {
                DBORDINAL columns = 0;
                T::GetColumnInfo(static_cast<T*>(this), &columns);
                if (iOrdinal > columns) return DB_E_BADORDINAL;
            }
            return DB_E_NOTAREFERENCECOLUMN;
        });
    }

    // The command or session that created the rowset (its site); S_FALSE when there is none.
    STDMETHOD(GetSpecification)(REFIID riid, IUnknown** ppSpecification) override {
        return ComGuard([&]() -> HRESULT {
            if (ppSpecification == nullptr) return E_INVALIDARG;
            *ppSpecification = nullptr;
            if constexpr (rowset_info_detail::HasSite<T>::value) {
                IUnknown* site = static_cast<T*>(this)->m_spUnkSite;
                if (site == nullptr) return S_FALSE;
                return site->QueryInterface(riid, reinterpret_cast<void**>(ppSpecification));
            } else {
                return S_FALSE;
            }
        });
    }
};
