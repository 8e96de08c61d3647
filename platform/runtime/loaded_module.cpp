// Finds loaded modules and their resource tables.
#include "loaded_module.h"

#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <vector>

namespace comrt {

namespace {

struct ModuleEntry {
    LoadedModule module;
    std::uintptr_t end = 0;
};

std::string RealPath(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string result(real);
        std::free(real);
        return result;
    }
    return path;
}

std::string ExecutablePath() {
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length))
                      : std::string();
}

int CollectModule(struct dl_phdr_info* info, std::size_t, void* data) {
    auto& entries = *static_cast<std::vector<ModuleEntry>*>(data);
    std::uintptr_t low = UINTPTR_MAX;
    std::uintptr_t high = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& header = info->dlpi_phdr[i];
        if (header.p_type != PT_LOAD) continue;
        const std::uintptr_t start = info->dlpi_addr + header.p_vaddr;
        low = std::min(low, start & ~static_cast<std::uintptr_t>(header.p_align - 1));
        high = std::max<std::uintptr_t>(high, start + header.p_memsz);
    }
    if (low == UINTPTR_MAX) return 0;
    ModuleEntry entry;
    entry.module.base = low;
    entry.end = high;
    const bool isMain = entries.empty();
    entry.module.mainProgram = isMain;
    entry.module.loaderName = info->dlpi_name == nullptr ? std::string() : info->dlpi_name;
    if (isMain || entry.module.loaderName.empty()) {
        // Only the first entry is the program; nameless later ones are the vDSO and the like.
        if (!isMain) return 0;
        entry.module.path = ExecutablePath();
    } else {
        entry.module.path = RealPath(entry.module.loaderName);
    }
    entries.push_back(std::move(entry));
    return 0;
}

std::vector<ModuleEntry> AllModules() {
    std::vector<ModuleEntry> entries;
    ::dl_iterate_phdr(CollectModule, &entries);
    return entries;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<LoadedModule> LoadedModules::MainProgram() {
    const auto entries = AllModules();
    if (entries.empty()) return std::nullopt;
    return entries.front().module;
}

std::optional<LoadedModule> LoadedModules::ByHandle(HMODULE module) {
    if (module == nullptr) return MainProgram();
    const auto base = reinterpret_cast<std::uintptr_t>(module);
    for (const auto& entry : AllModules()) {
        if (entry.module.base == base) return entry.module;
    }
    return std::nullopt;
}

std::optional<LoadedModule> LoadedModules::ByName(const std::string& name) {
    if (name.empty()) return std::nullopt;
    const bool hasPath = name.find('/') != std::string::npos;
    const std::string wanted = hasPath ? RealPath(name) : name;
    for (const auto& entry : AllModules()) {
        if (hasPath
                ? entry.module.path == wanted
                : (::strcasecmp(BaseName(entry.module.path).c_str(), wanted.c_str()) == 0 ||
                   ::strcasecmp(BaseName(entry.module.loaderName).c_str(), wanted.c_str()) == 0)) {
            return entry.module;
        }
    }
    return std::nullopt;
}

std::optional<LoadedModule> LoadedModules::Containing(const void* address) {
    const auto where = reinterpret_cast<std::uintptr_t>(address);
    for (const auto& entry : AllModules()) {
        if (where >= entry.module.base && where < entry.end) return entry.module;
    }
    return std::nullopt;
}

const ComrtResourceTable* LoadedModules::ResourcesOf(const LoadedModule& module) {
    void* handle = nullptr;
    if (module.mainProgram) {
        handle = ::dlopen(nullptr, RTLD_LAZY);
    } else {
        // Already loaded, so this only takes a reference, released below.
        handle = ::dlopen(module.loaderName.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    }
    if (handle == nullptr) return nullptr;
    void* symbol = ::dlsym(handle, COMRT_MODULE_RESOURCES_SYMBOL);
    ::dlclose(handle);
    if (symbol == nullptr) return nullptr;
    // dlsym also searches the module's dependencies: only the module's own table counts.
    const auto owner = Containing(symbol);
    if (!owner || owner->base != module.base) return nullptr;
    return static_cast<const ComrtResourceTable*>(symbol);
}

}  // namespace comrt
