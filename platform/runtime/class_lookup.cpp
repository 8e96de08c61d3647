// Class lookup: CoGetClassObject and CoCreateInstance for in-process servers, and the per-thread
// CoInitialize count. Lookups do not require CoInitialize, since the threading models of this
// runtime are all the same; the count exists so that callers see the documented results.
#include "class_lookup.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "api_guard.h"
#include "com_runtime.h"
#include "guid_text.h"
#include "registry_reader.h"
#include "wide_text.h"
#include "win_registry.h"

namespace comrt {

namespace {

thread_local ULONG initializeCount = 0;
thread_local DWORD initializeMode = 0;

}  // namespace

ServerModules& ServerModules::Instance() {
    static auto* modules = new ServerModules();
    return *modules;
}

HRESULT ServerModules::EntryPoint(const std::string& modulePath, DllGetClassObjectFunction& entry) {
    entry = nullptr;
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    // One entry per file, however the registry spells its path.
    std::string key = modulePath;
    if (char* real = ::realpath(modulePath.c_str(), nullptr)) {
        key = real;
        std::free(real);
    }
    if (const auto found = modules_.find(key); found != modules_.end()) {
        entry = found->second;
        return S_OK;
    }
    struct stat info {};
    if (modulePath.find('/') != std::string::npos && ::stat(modulePath.c_str(), &info) != 0) {
        return CO_E_DLLNOTFOUND;
    }
    // Never closed: objects and threads of the module may outlive every reference to it.
    void* handle = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return modulePath.find('/') == std::string::npos ? CO_E_DLLNOTFOUND : CO_E_ERRORINDLL;
    }
    void* symbol = ::dlsym(handle, "DllGetClassObject");
    if (symbol == nullptr) return CO_E_ERRORINDLL;
    entry = reinterpret_cast<DllGetClassObjectFunction>(symbol);
    modules_.emplace(key, entry);
    return S_OK;
}

}  // namespace comrt

STDAPI CoInitialize(LPVOID pvReserved) {
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

STDAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
    if (pvReserved != nullptr) return E_INVALIDARG;
    const DWORD mode = dwCoInit & COINIT_APARTMENTTHREADED;
    if (comrt::initializeCount > 0 && mode != comrt::initializeMode) return RPC_E_CHANGED_MODE;
    comrt::initializeMode = mode;
    return comrt::initializeCount++ == 0 ? S_OK : S_FALSE;
}

STDAPI_(void) CoUninitialize() {
    if (comrt::initializeCount > 0) --comrt::initializeCount;
}

STDAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID /*pvReserved*/, REFIID riid,
                        LPVOID* ppv) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (ppv == nullptr) return E_INVALIDARG;
        *ppv = nullptr;
        // Only in-process servers exist here; other contexts find nothing registered.
        if ((dwClsContext & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
        std::u16string modulePath;
        DWORD type = REG_SZ;
        const std::u16string classKey = u"CLSID\\" + comrt::FormatGuid(rclsid);
        const LONG status = comrt::ReadRegistryString(
            HKEY_CLASSES_ROOT, classKey + u"\\InprocServer32", nullptr, modulePath, &type);
        if (status != ERROR_SUCCESS || modulePath.empty()) return REGDB_E_CLASSNOTREG;
        if (type == REG_EXPAND_SZ) modulePath = comrt::ExpandEnvironmentText(modulePath);
        comrt::DllGetClassObjectFunction entry = nullptr;
        const HRESULT hr =
            comrt::ServerModules::Instance().EntryPoint(comrt::Utf16ToUtf8(modulePath), entry);
        if (FAILED(hr)) return hr;
        return entry(rclsid, riid, ppv);
    });
}

STDAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                        LPVOID* ppv) {
    return comrt::GuardHr([&]() -> HRESULT {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        IClassFactory* factory = nullptr;
        HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                      reinterpret_cast<void**>(&factory));
        if (FAILED(hr)) return hr;
        if (factory == nullptr) return E_UNEXPECTED;
        hr = factory->CreateInstance(pUnkOuter, riid, ppv);
        factory->Release();
        if (FAILED(hr)) *ppv = nullptr;
        return hr;
    });
}
