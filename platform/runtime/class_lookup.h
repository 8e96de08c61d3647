// In-process servers found through the registry: each module is loaded once, on first use,
// and stays loaded for the life of the process.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "com_base.h"

namespace comrt {

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, LPVOID*);

class ServerModules {
  public:
    static ServerModules& Instance();

    // The module's DllGetClassObject, loading the module when needed; CO_E_* on failure.
    HRESULT EntryPoint(const std::string& modulePath, DllGetClassObjectFunction& entry);

  private:
    // Recursive: a module's static constructors may themselves look up classes.
    std::recursive_mutex mutex_;
    std::map<std::string, DllGetClassObjectFunction> modules_;
};

}  // namespace comrt
