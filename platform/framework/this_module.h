// The handle of the module that the calling code is compiled into: its load base address, found
// through a symbol that every module holds privately.
#pragma once

#include <dlfcn.h>

#include "com_base.h"
#include "module_local.h"

namespace this_module_detail {
COMFW_MODULE_LOCAL inline const char kAnchor = 0;
}  // namespace this_module_detail

inline HINSTANCE GetThisModuleInstance() {
    Dl_info info{};
    if (dladdr(&this_module_detail::kAnchor, &info) == 0 || info.dli_fbase == nullptr)
        return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

// The module's own handles, as the template library's base module object offers them.
class CAtlBaseModule {
  public:
    HINSTANCE GetModuleInstance() const { return GetThisModuleInstance(); }
    HINSTANCE GetResourceInstance() const { return GetThisModuleInstance(); }
};

COMFW_MODULE_LOCAL inline CAtlBaseModule _AtlBaseModule;
