// IInternalConnection: a child object tells its parent that it holds a connection to it. The data
// source counts its sessions with it, a command its open rowsets.
#pragma once

#include "com_guard.h"
#include "oledb.h"

template <class T>
class IInternalConnectionImpl : public IInternalConnection {
  public:
    STDMETHOD(AddConnection)() override {
        return ComGuard([&]() -> HRESULT {
            ++m_cSessionsOpen;
            return S_OK;
        });
    }
    STDMETHOD(ReleaseConnection)() override {
        return ComGuard([&]() -> HRESULT {
            if (m_cSessionsOpen == 0) return E_UNEXPECTED;
            --m_cSessionsOpen;
            return S_OK;
        });
    }

    ULONG m_cSessionsOpen = 0;
};

template <class T>
class IInternalCommandConnectionImpl : public IInternalConnection {
  public:
    STDMETHOD(AddConnection)() override {
        return ComGuard([&]() -> HRESULT {
            ++m_cRowsetsOpen;
            return S_OK;
        });
    }
    STDMETHOD(ReleaseConnection)() override {
        return ComGuard([&]() -> HRESULT {
            if (m_cRowsetsOpen == 0) return E_UNEXPECTED;
            --m_cRowsetsOpen;
            return S_OK;
        });
    }

    ULONG m_cRowsetsOpen = 0;
};
