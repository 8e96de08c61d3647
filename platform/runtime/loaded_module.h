// The modules mapped into this process, as dl_iterate_phdr lists them: each one's load base
// (its HMODULE), real path and resource table.
#pragma once

#include <optional>
#include <string>

#include "module_resources.h"

namespace comrt {

struct LoadedModule {
    std::uintptr_t base = 0;  // the lowest address of its first loaded segment
    std::string path;         // the real full path
    std::string loaderName;   // the name the dynamic loader knows it by
    bool mainProgram = false;
    const ComrtResourceTable* resources = nullptr;  // from the module's resource note
};

class LoadedModules {
  public:
    static std::optional<LoadedModule> MainProgram();
    static std::optional<LoadedModule> ByHandle(HMODULE module);
    // By file name alone, or by a path naming the same file.
    static std::optional<LoadedModule> ByName(const std::string& name);
    static std::optional<LoadedModule> Containing(const void* address);

    // The module's resource table, or null when it has none.
    static const ComrtResourceTable* ResourcesOf(const LoadedModule& module);
};

}  // namespace comrt
