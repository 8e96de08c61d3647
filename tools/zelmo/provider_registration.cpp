// Module registration: dlopen by absolute path, so that the module records where it lies and a
// bare file name is not looked up on the library path.
#include "tools/zelmo/provider_registration.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>

namespace {

using RegisterServerFunction = HRESULT (*)();
using InstallFunction = HRESULT (*)(BOOL, LPCWSTR);

class LoadedModule {
  public:
    explicit LoadedModule(const std::string& path)
        : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedModule() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* handle;
};

std::string LastDlError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

}  // namespace

RegistrationOutcome RunModuleRegistration(const std::string& path, bool install, bool perUser) {
    RegistrationOutcome outcome;
    char absolute[PATH_MAX];
    if (realpath(path.c_str(), absolute) == nullptr) {
        outcome.loadError = "cannot find the module " + path;
        return outcome;
    }
    LoadedModule module(absolute);
    if (module.handle == nullptr) {
        outcome.loadError = "cannot load " + std::string(absolute) + ": " + LastDlError();
        return outcome;
    }
    const char* exportName = perUser   ? "DllInstall"
                             : install ? "DllRegisterServer"
                                       : "DllUnregisterServer";
    void* symbol = dlsym(module.handle, exportName);
    if (symbol == nullptr) {
        outcome.loadError = std::string(absolute) + " does not export " + exportName;
        return outcome;
    }
    outcome.loaded = true;
    if (perUser) {
        outcome.hr = reinterpret_cast<InstallFunction>(symbol)(install ? TRUE : FALSE, u"user");
    } else {
        outcome.hr = reinterpret_cast<RegisterServerFunction>(symbol)();
    }
    return outcome;
}
