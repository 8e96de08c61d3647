// Registration of an in-process server module through its own exports, as regsvr32 does.
#pragma once

#include <string>

#include "com_base.h"

struct RegistrationOutcome {
    bool loaded = false;    // the module and its export were found
    std::string loadError;  // why not, when !loaded
    HRESULT hr = S_OK;      // the export's answer, when loaded
};

// Loads the module (by its absolute path) and calls DllInstall(install, "user") when perUser,
// else DllRegisterServer or DllUnregisterServer.
RegistrationOutcome RunModuleRegistration(const std::string& path, bool install, bool perUser);
