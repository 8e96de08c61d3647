// The provider module: the module object, the object map of the three creatable classes and the
// five exports through which COM and registration tools reach the module.
#include "provider/zelmo_provider_module.h"

#include <string>

#include "client/service_config.h"
#include "provider/dll_install_argument.h"
#include "provider/properties_advanced_dlg.h"
#include "provider/properties_connect_dlg.h"
#include "provider/zelmo_data_source.h"

namespace {

constexpr DWORD kModulePathChars = 1024;

// The provider's own file, where "config.txt" is looked for.
std::u16string ProviderModulePath() {
    HMODULE module = GetModuleHandleW(kModuleFileName);
    if (module == nullptr) return {};
    std::u16string path(kModulePathChars, u'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), kModulePathChars);
    if (length == 0 || length >= kModulePathChars) return {};
    path.resize(length);
    return path;
}

}  // namespace

Zelmo_provider_module::Zelmo_provider_module() {
    // Another module object registered first means the framework's set-up did not take ours.
    if (_pAtlModule != this) m_bInitFailed = true;
    SetModulePathProvider(ProviderModulePath);
}

namespace {

Zelmo_provider_module theModule;

OBJECT_ENTRY_AUTO(CLSID_ZelmoAdvancedDlg, PropertiesAdvancedDlg)
OBJECT_ENTRY_AUTO(CLSID_ZelmoData, ZelmoDataSource)
OBJECT_ENTRY_AUTO(CLSID_ZelmoConnectionDlg, PropertiesConnectDlg)

// The entry point's part of loading: the platform calls DllMain with process attach once the
// static objects stand; here a static object after the module object does it. A refused attach
// makes every export answer as a module that failed to load.
class ModuleEntryPoint {
  public:
    ModuleEntryPoint() : attached(theModule.DllMain(DLL_PROCESS_ATTACH, nullptr) != FALSE) {}
    ~ModuleEntryPoint() {
        if (attached) theModule.DllMain(DLL_PROCESS_DETACH, nullptr);
    }
    ModuleEntryPoint(const ModuleEntryPoint&) = delete;
    ModuleEntryPoint& operator=(const ModuleEntryPoint&) = delete;

    [[nodiscard]] bool Attached() const { return attached; }

  private:
    bool attached;
};

ModuleEntryPoint entryPoint;

// Registration runs with the system's default locale as the thread locale.
class SystemThreadLocale {
  public:
    SystemThreadLocale() : saved(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~SystemThreadLocale() { SetThreadLocale(saved); }
    SystemThreadLocale(const SystemThreadLocale&) = delete;
    SystemThreadLocale& operator=(const SystemThreadLocale&) = delete;

  private:
    LCID saved;
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!entryPoint.Attached()) return CO_E_ERRORINDLL;
    return theModule.DllGetClassObject(rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow() { return theModule.DllCanUnloadNow(); }

STDAPI DllRegisterServer() {
    if (!entryPoint.Attached()) return CO_E_ERRORINDLL;
    SystemThreadLocale locale;
    return theModule.DllRegisterServer(TRUE);
}

STDAPI DllUnregisterServer() {
    if (!entryPoint.Attached()) return CO_E_ERRORINDLL;
    SystemThreadLocale locale;
    return theModule.DllUnregisterServer(TRUE);
}

STDAPI DllInstall(BOOL bInstall, LPCWSTR pszCmdLine) {
    if (!entryPoint.Attached()) return CO_E_ERRORINDLL;
    if (IsPerUserCommandLine(pszCmdLine)) AtlSetPerUserRegistration(true);
    if (!bInstall) return DllUnregisterServer();
    const HRESULT hr = DllRegisterServer();
    if (FAILED(hr)) DllUnregisterServer();
    return hr;
}
