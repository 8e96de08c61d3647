// Zelmo_provider_module: the provider DLL's module object, with its type library id, its own
// registry script (resource 101) and the "APPID" replacement it offers every script.
#pragma once

#include "atl_com.h"
#include "provider/zelmo_guids.h"
#include "resources/resource_ids.h"

class Zelmo_provider_module : public CAtlDllModuleT<Zelmo_provider_module> {
  public:
    Zelmo_provider_module();

    DECLARE_LIBID(LIBID_ZelmoProviderLib)
    DECLARE_REGISTRY_APPID_RESOURCEID(kIdrZelmoModule, ZELMO_APPID_TEXT)
};
