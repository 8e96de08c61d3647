// ICommand and ICommandText for commands: Cancel, GetDBSession, the command text with its
// dialect, and CreateRowset, which makes the published checks in order and then creates the
// rowset. Execute is the provider's.
#pragma once

#include <cstring>

#include "com_bstr.h"
#include "com_guard.h"
#include "com_runtime.h"
#include "command_properties_impl.h"
#include "olap.h"
#include "rowset_creation.h"

template <class T, class CommandBase = ICommand>
class ICommandImpl : public CommandBase {
  public:
    // Execute runs to its end on the caller's thread, so a running command cannot be cancelled.
    STDMETHOD(Cancel)() override {
        return ComGuard([&]() -> HRESULT { return m_bIsExecuting ? DB_E_CANTCANCEL : S_OK; });
    }

    STDMETHOD(GetDBSession)(REFIID riid, IUnknown** ppSession) override {
        return ComGuard([&]() -> HRESULT {
            if (ppSession == nullptr) return E_INVALIDARG;
            *ppSession = nullptr;
            IUnknown* site = static_cast<T*>(this)->m_spUnkSite;
            if (site == nullptr) return S_FALSE;
            return site->QueryInterface(riid, reinterpret_cast<void**>(ppSession));
        });
    }

    // The checks in this order: no text (length 0), IID_NULL (nothing created or written), null
    // ppRowset, aggregation with an interface other than IID_IUnknown; then the rowset.
    template <class RowsetClass>
    HRESULT CreateRowset(IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams,
                         DBROWCOUNT* pcRowsAffected, IUnknown** ppRowset,
                         RowsetClass*& pRowsetObj) {
        return ComGuard([&]() -> HRESULT {
            pRowsetObj = nullptr;
            T* pT = static_cast<T*>(this);
            if (pT->m_strCommandText.Length() == 0) return DB_E_NOCOMMAND;
            if (riid == IID_NULL) return S_OK;
            if (ppRowset == nullptr) return E_INVALIDARG;
            *ppRowset = nullptr;
            if (pUnkOuter != nullptr && riid != IID_IUnknown) return DB_E_NOAGGREGATION;
            return CreateRowsetObject<RowsetClass>(pT, pT->GetUnknown(), pUnkOuter, riid, pParams,
                                                   pcRowsAffected, ppRowset, pRowsetObj);
        });
    }

    bool m_bIsExecuting = false;
};

template <class T>
class ICommandTextImpl : public ICommandImpl<T, ICommandText> {
  public:
    STDMETHOD(GetCommandText)(GUID* pguidDialect, LPOLESTR* ppwszCommand) override {
        return ComGuard([&]() -> HRESULT {
            if (ppwszCommand == nullptr) {
                if (pguidDialect != nullptr) *pguidDialect = DB_NULLGUID;
                return E_INVALIDARG;
            }
            *ppwszCommand = nullptr;
            if (m_strCommandText == nullptr) {
                if (pguidDialect != nullptr) *pguidDialect = DB_NULLGUID;
                return DB_E_NOCOMMAND;
            }
            HRESULT hr = S_OK;
            if (pguidDialect != nullptr) {
                // The text is kept in one dialect only; another one asked for is ignored
                // (DBGUID_DEFAULT and DB_NULLGUID ask for none in particular).
                if (*pguidDialect != m_guidDialect && *pguidDialect != DBGUID_DEFAULT &&
                    *pguidDialect != DB_NULLGUID)
                    hr = DB_S_DIALECTIGNORED;
                *pguidDialect = m_guidDialect;
            }
            const size_t bytes = (m_strCommandText.Length() + 1) * sizeof(OLECHAR);
            auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (copy == nullptr) return E_OUTOFMEMORY;
            std::memcpy(copy, m_strCommandText.m_str, bytes - sizeof(OLECHAR));
            copy[m_strCommandText.Length()] = 0;
            *ppwszCommand = copy;
            return hr;
        });
    }

    // A null text clears the command; an empty text is kept as an empty statement.
    STDMETHOD(SetCommandText)(REFGUID rguidDialect, LPCOLESTR pwszCommand) override {
        return ComGuard([&]() -> HRESULT {
            if (command_properties_detail::OpenRowsets(static_cast<T*>(this)) != 0)
                return DB_E_OBJECTOPEN;
            if (!static_cast<T*>(this)->IsDialectSupported(rguidDialect))
                return DB_E_DIALECTNOTSUPPORTED;
            m_strCommandText = pwszCommand;
            m_guidDialect = rguidDialect;
            return S_OK;
        });
    }

    // Hook: the dialects an MDX provider takes; a command class may name others.
    bool IsDialectSupported(REFGUID dialect) const {
        return dialect == DBGUID_DEFAULT || dialect == MDGUID_MDX;
    }

    CComBSTR m_strCommandText;
    GUID m_guidDialect = DBGUID_DEFAULT;
};
