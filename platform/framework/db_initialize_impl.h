// IDBInitialize for data sources: the initialised state (m_dwStatus) and its published rules.
#pragma once

#include <type_traits>
#include <utility>

#include "com_guard.h"
#include "oledb.h"

// Bits of a data source's m_dwStatus.
constexpr DWORD DSF_MASK_INIT = 0xFFFFF00F;
constexpr DWORD DSF_PERSIST_DIRTY = 0x00000001;
constexpr DWORD DSF_INITIALIZED = 0x00000010;

namespace db_initialize_detail {
template <class T, class = void>
struct HasSessionCount : std::false_type {};
template <class T>
struct HasSessionCount<T, std::void_t<decltype(std::declval<T&>().m_cSessionsOpen)>>
    : std::true_type {};

// The sessions a data source has open, counted by IInternalConnectionImpl.
template <class T>
ULONG OpenSessions(T* dataSource) {
    if constexpr (HasSessionCount<T>::value)
        return dataSource->m_cSessionsOpen;
    else
        return 0;
}
}  // namespace db_initialize_detail

template <class T>
class IDBInitializeImpl : public IDBInitialize {
  public:
    // A provider's own Initialize does its work and ends with this one.
    STDMETHOD(Initialize)() override {
        return ComGuard([&]() -> HRESULT {
            if (m_dwStatus & DSF_INITIALIZED) return DB_E_ALREADYINITIALIZED;
            m_dwStatus |= DSF_INITIALIZED;
            return S_OK;
        });
    }

    STDMETHOD(Uninitialize)() override {
        return ComGuard([&]() -> HRESULT {
            if (!(m_dwStatus & DSF_INITIALIZED)) return S_OK;
            if (db_initialize_detail::OpenSessions(static_cast<T*>(this)) != 0)
                return DB_E_OBJECTOPEN;
            m_dwStatus &= ~DSF_INITIALIZED;
            return S_OK;
        });
    }

    bool IsInitialized() const { return (m_dwStatus & DSF_INITIALIZED) != 0; }

    DWORD m_dwStatus = 0;
};
