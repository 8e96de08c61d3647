// IObjectWithSite for child objects whose site counts them as open connections
// (IInternalConnection) from SetSite until they go: a session for its data source, a rowset for
// the command that created it.
#pragma once

#include "com_guard.h"
#include "object_with_site_impl.h"
#include "oledb.h"

template <class T>
class IObjectWithConnectedSiteImpl : public IObjectWithSiteImpl<T> {
  public:
    IObjectWithConnectedSiteImpl() = default;
    IObjectWithConnectedSiteImpl(const IObjectWithConnectedSiteImpl&) = delete;
    IObjectWithConnectedSiteImpl& operator=(const IObjectWithConnectedSiteImpl&) = delete;
    ~IObjectWithConnectedSiteImpl() { ReleaseSiteConnection(); }

    // A site without IInternalConnection is kept without a connection.
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

// A session: its data source cannot be uninitialised while it lives.
template <class T>
class IObjectWithSiteSessionImpl : public IObjectWithConnectedSiteImpl<T> {};

// A rowset: the command that created it refuses a new text or new properties while it lives.
template <class T>
class IRowsetCreatorImpl : public IObjectWithConnectedSiteImpl<T> {};
