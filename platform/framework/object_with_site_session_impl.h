// IObjectWithSite for sessions: the site is the data source, which counts the session as an open
// connection (IInternalConnection) from SetSite until the session goes.
#pragma once

#include "com_guard.h"
#include "object_with_site_impl.h"
#include "oledb.h"

template <class T>
class IObjectWithSiteSessionImpl : public IObjectWithSiteImpl<T> {
  public:
    IObjectWithSiteSessionImpl() = default;
    IObjectWithSiteSessionImpl(const IObjectWithSiteSessionImpl&) = delete;
    IObjectWithSiteSessionImpl& operator=(const IObjectWithSiteSessionImpl&) = delete;
    ~IObjectWithSiteSessionImpl() { ReleaseSiteConnection(); }

    STDMETHOD(SetSite)(IUnknown* pUnkSite) override {
        return ComGuard([&]() -> HRESULT {
            ReleaseSiteConnection();
            this->m_spUnkSite = pUnkSite;
            if (pUnkSite != nullptr) {
                CComPtr<IInternalConnection> connection;
                if (SUCCEEDED(pUnkSite->QueryInterface(IID_IInternalConnection,
                                                       reinterpret_cast<void**>(&connection)))) {
                    connection->AddConnection();
                    m_connected = true;
                }
            }
            return S_OK;
        });
    }

  private:
    void ReleaseSiteConnection() noexcept {
        if (!m_connected || !this->m_spUnkSite) return;
        m_connected = false;
        IInternalConnection* connection = nullptr;
        if (SUCCEEDED(this->m_spUnkSite->QueryInterface(IID_IInternalConnection,
                                                        reinterpret_cast<void**>(&connection)))) {
            connection->ReleaseConnection();
            connection->Release();
        }
    }

    bool m_connected = false;
};
