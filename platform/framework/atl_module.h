// The module object: the lock count that DllCanUnloadNow reads, the registrar replacements
// common to the module's scripts, and registration of a script from the module's resources.
#pragma once

#include <string>

#include "com_base.h"
#include "com_guard.h"
#include "com_interfaces.h"
#include "com_runtime.h"
#include "com_thread_model.h"
#include "module_local.h"
#include "module_resources.h"
#include "reg_object.h"
#include "this_module.h"

// Replacements a class adds to its registry script, ended by a row of nulls.
struct _ATL_REGMAP_ENTRY {
    LPCOLESTR szKey;
    LPCOLESTR szData;
};

class CAtlModule;
COMFW_MODULE_LOCAL inline CAtlModule* _pAtlModule = nullptr;

// Whether this module registers under HKEY_CURRENT_USER\Software\Classes instead of HKCR.
COMFW_MODULE_LOCAL inline bool _AtlRegisterPerUser = false;

inline HRESULT AtlSetPerUserRegistration(bool bEnable) {
    _AtlRegisterPerUser = bEnable;
    return S_OK;
}
inline HRESULT AtlGetPerUserRegistration(bool* pbEnabled) {
    if (pbEnabled == nullptr) return E_POINTER;
    *pbEnabled = _AtlRegisterPerUser;
    return S_OK;
}

// The full path of a module, as %MODULE% gives it to the scripts.
inline std::u16string AtlGetModulePath(HINSTANCE hInstance) {
    std::u16string path(1024, u'\0');
    for (int attempt = 0; attempt < 6; ++attempt) {
        DWORD length = GetModuleFileNameW(hInstance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

class CAtlModule {
  public:
    CAtlModule() noexcept {
        if (_pAtlModule == nullptr) _pAtlModule = this;
    }
    CAtlModule(const CAtlModule&) = delete;
    CAtlModule& operator=(const CAtlModule&) = delete;
    virtual ~CAtlModule() {
        if (_pAtlModule == this) _pAtlModule = nullptr;
    }

    virtual LONG Lock() { return __atomic_add_fetch(&m_nLockCnt, 1, __ATOMIC_SEQ_CST); }
    virtual LONG Unlock() { return __atomic_sub_fetch(&m_nLockCnt, 1, __ATOMIC_SEQ_CST); }
    virtual LONG GetLockCount() { return __atomic_load_n(&m_nLockCnt, __ATOMIC_SEQ_CST); }
    virtual HRESULT GetGITPtr(IGlobalInterfaceTable** ppGIT) {
        if (ppGIT != nullptr) *ppGIT = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT AddCommonRGSReplacements(IRegistrarBase* pRegistrar) = 0;

    // Registers or unregisters the "REGISTRY" resource nResID of this module, with %MODULE%,
    // the module's common replacements and pMapEntries.
    HRESULT UpdateRegistryFromResource(UINT nResID, BOOL bRegister,
                                       const _ATL_REGMAP_ENTRY* pMapEntries = nullptr) {
        return ComGuard([&]() -> HRESULT {
            HINSTANCE instance = _AtlBaseModule.GetResourceInstance();
            CRegObject registrar;
            registrar.SetPerUser(_AtlRegisterPerUser);
            const std::u16string modulePath = AtlGetModulePath(_AtlBaseModule.GetModuleInstance());
            if (modulePath.empty()) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
            HRESULT hr = registrar.AddReplacement(u"MODULE", modulePath.c_str());
            if (SUCCEEDED(hr)) hr = registrar.AddReplacement(u"MODULE_RAW", modulePath.c_str());
            if (SUCCEEDED(hr)) hr = AddCommonRGSReplacements(&registrar);
            for (const _ATL_REGMAP_ENTRY* entry = pMapEntries;
                 SUCCEEDED(hr) && entry != nullptr && entry->szKey != nullptr; ++entry)
                hr = registrar.AddReplacement(entry->szKey, entry->szData);
            if (FAILED(hr)) return hr;
            return bRegister ? registrar.ResourceRegister(instance, nResID, u"REGISTRY")
                             : registrar.ResourceUnregister(instance, nResID, u"REGISTRY");
        });
    }

    GUID m_libid = GUID_NULL;
    bool m_bInitFailed = false;
    CComAutoCriticalSection m_csStaticDataInitAndTypeInfo;

  protected:
    LONG m_nLockCnt = 0;
};
