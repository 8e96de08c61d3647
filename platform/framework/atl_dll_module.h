// The module object of an in-process server: the DLL entry points (class objects, unloading,
// registration of the object map and the type library) and the module's declarations.
#pragma once

#include <string>

#include "atl_module.h"
#include "com_guard.h"
#include "object_map.h"
#include "type_library.h"

#ifndef DLL_PROCESS_ATTACH
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#endif

// Registers the module's "TYPELIB" resource (index null = 1) under the module's own path.
inline HRESULT AtlRegisterTypeLib(HINSTANCE module, LPCOLESTR index) {
    return ComGuard([&]() -> HRESULT {
        const TypeLibDescription* lib = LoadTypeLibDescription(module, index);
        if (lib == nullptr) return TYPE_E_CANTLOADLIBRARY;
        const std::u16string path = AtlGetModulePath(module);
        if (path.empty()) return TYPE_E_CANTLOADLIBRARY;
        return RegisterTypeLibDescription(*lib, path.c_str(), nullptr, _AtlRegisterPerUser);
    });
}
inline HRESULT AtlUnRegisterTypeLib(HINSTANCE module, LPCOLESTR index) {
    const TypeLibDescription* lib = LoadTypeLibDescription(module, index);
    if (lib == nullptr) return TYPE_E_CANTLOADLIBRARY;
    return UnRegisterTypeLibDescription(*lib, _AtlRegisterPerUser);
}

// Every class of the map (or only pCLSID), in map order, then the type library.
inline HRESULT AtlComModuleRegisterServer(CAtlComModule* module, BOOL bRegTypeLib,
                                          const CLSID* pCLSID = nullptr) {
    if (module == nullptr) return E_INVALIDARG;
    for (_ATL_OBJMAP_ENTRY* entry = module->GetFirstEntry(); entry != nullptr;
         entry = entry->pNext) {
        if (pCLSID != nullptr && *pCLSID != *entry->pclsid) continue;
        const HRESULT hr = entry->pfnUpdateRegistry(TRUE);
        if (FAILED(hr)) return hr;
    }
    return bRegTypeLib ? AtlRegisterTypeLib(_AtlBaseModule.GetModuleInstance(), nullptr) : S_OK;
}
inline HRESULT AtlComModuleUnregisterServer(CAtlComModule* module, BOOL bUnRegTypeLib,
                                            const CLSID* pCLSID = nullptr) {
    if (module == nullptr) return E_INVALIDARG;
    for (_ATL_OBJMAP_ENTRY* entry = module->GetFirstEntry(); entry != nullptr;
         entry = entry->pNext) {
        if (pCLSID != nullptr && *pCLSID != *entry->pclsid) continue;
        const HRESULT hr = entry->pfnUpdateRegistry(FALSE);
        if (FAILED(hr)) return hr;
    }
    return bUnRegTypeLib ? AtlUnRegisterTypeLib(_AtlBaseModule.GetModuleInstance(), nullptr) : S_OK;
}

template <class T>
class CAtlModuleT : public CAtlModule {
  public:
    CAtlModuleT() noexcept { T::InitLibId(); }

    static void InitLibId() {}
    static HRESULT UpdateRegistryAppId(BOOL) { return S_OK; }
    HRESULT AddCommonRGSReplacements(IRegistrarBase*) override { return S_OK; }

    // The module's own script (its application id), then the object map and type library.
    HRESULT RegisterServer(BOOL bRegTypeLib = FALSE, const CLSID* pCLSID = nullptr) {
        HRESULT hr = T::UpdateRegistryAppId(TRUE);
        if (SUCCEEDED(hr)) hr = AtlComModuleRegisterServer(&_AtlComModule, bRegTypeLib, pCLSID);
        return hr;
    }
    HRESULT UnregisterServer(BOOL bUnRegTypeLib, const CLSID* pCLSID = nullptr) {
        HRESULT hr = AtlComModuleUnregisterServer(&_AtlComModule, bUnRegTypeLib, pCLSID);
        if (SUCCEEDED(hr)) hr = T::UpdateRegistryAppId(FALSE);
        return hr;
    }
};

template <class T>
class CAtlDllModuleT : public CAtlModuleT<T> {
  public:
    CAtlDllModuleT() noexcept = default;
    ~CAtlDllModuleT() override { _AtlComModule.Term(); }

    BOOL DllMain(DWORD dwReason, LPVOID) {
        if (dwReason == DLL_PROCESS_ATTACH) {
            if (this->m_bInitFailed) return FALSE;
            for (_ATL_OBJMAP_ENTRY* e = _AtlComModule.GetFirstEntry(); e != nullptr; e = e->pNext)
                if (e->pfnObjectMain != nullptr) e->pfnObjectMain(true);
        } else if (dwReason == DLL_PROCESS_DETACH) {
            for (_ATL_OBJMAP_ENTRY* e = _AtlComModule.GetFirstEntry(); e != nullptr; e = e->pNext)
                if (e->pfnObjectMain != nullptr) e->pfnObjectMain(false);
        }
        return TRUE;
    }

    HRESULT DllCanUnloadNow() { return this->GetLockCount() > 0 ? S_FALSE : S_OK; }

    HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
        return ComGuard(
            [&]() -> HRESULT { return static_cast<T*>(this)->GetClassObject(rclsid, riid, ppv); });
    }
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
        return AtlComModuleGetClassObject(&_AtlComModule, rclsid, riid, ppv);
    }

    HRESULT DllRegisterServer(BOOL bRegTypeLib = TRUE) {
        return ComGuard(
            [&]() -> HRESULT { return static_cast<T*>(this)->RegisterServer(bRegTypeLib); });
    }
    HRESULT DllUnregisterServer(BOOL bUnRegTypeLib = TRUE) {
        return ComGuard(
            [&]() -> HRESULT { return static_cast<T*>(this)->UnregisterServer(bUnRegTypeLib); });
    }
};

// The type library id of the module's "TYPELIB" resource.
#define DECLARE_LIBID(libid)                                      \
    static void InitLibId() {                                     \
        if (_pAtlModule != nullptr) _pAtlModule->m_libid = libid; \
    }

// The module's own script (resource resid) and its application id, also offered to every
// script as the replacement %APPID%. appid is the id in braces, as text.
#define DECLARE_REGISTRY_APPID_RESOURCEID(resid, appid)                                   \
    static LPCOLESTR GetAppId() { return u"" appid; }                                     \
    static HRESULT UpdateRegistryAppId(BOOL bRegister) {                                  \
        if (_pAtlModule == nullptr) return E_UNEXPECTED;                                  \
        const _ATL_REGMAP_ENTRY entries[] = {{u"APPID", GetAppId()}, {nullptr, nullptr}}; \
        return _pAtlModule->UpdateRegistryFromResource(resid, bRegister, entries);        \
    }                                                                                     \
    HRESULT AddCommonRGSReplacements(IRegistrarBase* pRegistrar) override {               \
        return pRegistrar->AddReplacement(u"APPID", GetAppId());                          \
    }
