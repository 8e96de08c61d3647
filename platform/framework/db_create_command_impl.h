// IDBCreateCommand for sessions: commands, aggregatable, with the session as their site.
#pragma once

#include "child_object.h"
#include "com_guard.h"
#include "oledb.h"

template <class T, class CommandObj>
class IDBCreateCommandImpl : public IDBCreateCommand {
  public:
    STDMETHOD(CreateCommand)(IUnknown* pUnkOuter, REFIID riid, IUnknown** ppCommand) override {
        return ComGuard([&]() -> HRESULT {
            if (ppCommand == nullptr) return E_INVALIDARG;
            *ppCommand = nullptr;
            if (pUnkOuter != nullptr && riid != IID_IUnknown) return DB_E_NOAGGREGATION;
            return CreateChildObject<CommandObj>(static_cast<T*>(this)->GetUnknown(), pUnkOuter,
                                                 riid, reinterpret_cast<void**>(ppCommand));
        });
    }
};
