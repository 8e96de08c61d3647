// ICommandProperties: the rowset properties a command asks for; its rowsets start from them.
#pragma once

#include <type_traits>
#include <utility>

#include "com_guard.h"
#include "util_props.h"

namespace command_properties_detail {
template <class T, class = void>
struct HasRowsetCount : std::false_type {};
template <class T>
struct HasRowsetCount<T, std::void_t<decltype(std::declval<T&>().m_cRowsetsOpen)>>
    : std::true_type {};

// The rowsets a command has open, counted by IInternalCommandConnectionImpl.
template <class T>
ULONG OpenRowsets(T* command) {
    if constexpr (HasRowsetCount<T>::value)
        return command->m_cRowsetsOpen;
    else
        return 0;
}
}  // namespace command_properties_detail

template <class T>
class ICommandPropertiesImpl : public ICommandProperties, public CUtlProps<T> {
  public:
    using _PropClass = CUtlProps<T>;

    STDMETHOD(GetProperties)
    (const ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) override {
        return ComGuard([&]() -> HRESULT {
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->GetPropertiesFor(this->OwnSetsAccess(SetAccess::kWritable), true,
                                          cPropertyIDSets, rgPropertyIDSets, pcPropertySets,
                                          prgPropertySets);
        });
    }

    // Refused while a rowset of the command is open.
    STDMETHOD(SetProperties)(ULONG cPropertySets, DBPROPSET rgPropertySets[]) override {
        return ComGuard([&]() -> HRESULT {
            if (command_properties_detail::OpenRowsets(static_cast<T*>(this)) != 0)
                return DB_E_OBJECTOPEN;
            const HRESULT hr = this->EnsureInit();
            if (FAILED(hr)) return hr;
            return this->SetPropertiesFor(this->OwnSetsAccess(SetAccess::kWritable), cPropertySets,
                                          rgPropertySets);
        });
    }

  protected:
    using SetAccess = util_props_detail::SetAccess;
};
