// Finds loaded modules and their resource tables.
#include "loaded_module.h"

#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstring>
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

// Looks through the module's note segments for the note that points at its resource table.
const ComrtResourceTable* FindResourceNote(const struct dl_phdr_info* info) {
    constexpr std::size_t kNameSize = sizeof(COMRT_RESOURCE_NOTE_NAME);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& header = info->dlpi_phdr[i];
        if (header.p_type != PT_NOTE) continue;
        const char* cursor = reinterpret_cast<const char*>(info->dlpi_addr + header.p_vaddr);
        const char* end = cursor + header.p_memsz;
        while (end - cursor >= 12) {
            std::uint32_t nameSize = 0;
            std::uint32_t descSize = 0;
            std::uint32_t type = 0;
            std::memcpy(&nameSize, cursor, 4);
            std::memcpy(&descSize, cursor + 4, 4);
            std::memcpy(&type, cursor + 8, 4);
            const std::uint64_t nameRoom = (std::uint64_t{nameSize} + 3) & ~std::uint64_t{3};
            const std::uint64_t descRoom = (std::uint64_t{descSize} + 3) & ~std::uint64_t{3};
            if (nameRoom + descRoom > static_cast<std::uint64_t>(end - cursor - 12)) break;
            const char* name = cursor + 12;
            const char* desc = name + nameRoom;
            if (type == kComrtResourceNoteType && nameSize == kNameSize && descSize == 8 &&
                std::memcmp(name, COMRT_RESOURCE_NOTE_NAME, kNameSize) == 0) {
                std::int64_t offset = 0;
                std::memcpy(&offset, desc, sizeof(offset));
                return reinterpret_cast<const ComrtResourceTable*>(desc + offset);
            }
            cursor = desc + descRoom;
        }
    }
    return nullptr;
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
    entry.module.resources = FindResourceNote(info);
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
    return module.resources;
}

}  // namespace comrt
