// Module handles, file names, string tables and binary resources, read from the resource table
// that each module carries (found through its resource note).
#include "module_resources.h"

#include <algorithm>
#include <cstring>

#include "api_guard.h"
#include "loaded_module.h"
#include "wide_text.h"

namespace {

using comrt::LoadedModule;
using comrt::LoadedModules;

const ComrtResourceTable* TableOf(HMODULE module) {
    const auto loaded = LoadedModules::ByHandle(module);
    return loaded ? LoadedModules::ResourcesOf(*loaded) : nullptr;
}

// A resource id given as a number or as "#123" text; named (non-numeric) ids give false.
bool ResourceNumber(LPCWSTR name, UINT& id) {
    if (IS_INTRESOURCE(name)) {
        id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name) & 0xFFFF);
        return true;
    }
    if (name[0] != u'#' || name[1] == 0) return false;
    std::uint64_t value = 0;
    for (const char16_t* c = name + 1; *c != 0; ++c) {
        if (*c < u'0' || *c > u'9') return false;
        value = value * 10 + static_cast<std::uint64_t>(*c - u'0');
        if (value > 0xFFFF) return false;
    }
    id = static_cast<UINT>(value);
    return true;
}

bool TypeMatches(const ComrtBinaryResource& resource, LPCWSTR type) {
    UINT typeId = 0;
    if (ResourceNumber(type, typeId)) return resource.typeId != 0 && resource.typeId == typeId;
    if (resource.typeName == nullptr) return false;
    return comrt::EqualsFolded(
        std::u16string_view(resource.typeName, comrt::WideLength(resource.typeName)),
        std::u16string_view(type, comrt::WideLength(type)));
}

// True when resource is one of table's own entries, so a stray HRSRC is never dereferenced.
bool BelongsTo(const ComrtResourceTable* table, const ComrtBinaryResource* resource) {
    if (table == nullptr || table->resources == nullptr || resource == nullptr) return false;
    const auto* first = table->resources;
    const auto* last = first + table->resourceCount;
    return std::any_of(first, last,
                       [&](const ComrtBinaryResource& entry) { return &entry == resource; });
}

}  // namespace

COMRT_API HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
    return comrt::GuardValue<HMODULE>(nullptr, [&]() -> HMODULE {
        const auto module = lpModuleName == nullptr
                                ? LoadedModules::MainProgram()
                                : LoadedModules::ByName(comrt::Utf16ToUtf8(std::u16string_view(
                                      lpModuleName, comrt::WideLength(lpModuleName))));
        if (!module) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
        return reinterpret_cast<HMODULE>(module->base);
    });
}

COMRT_API DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    return comrt::GuardValue<DWORD>(0, [&]() -> DWORD {
        if (lpFilename == nullptr && nSize != 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        const auto module = LoadedModules::ByHandle(hModule);
        if (!module || module->path.empty()) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        const std::u16string path = comrt::Utf8ToUtf16(module->path);
        if (path.size() >= nSize) {
            // Truncated to nSize characters, terminator included, as documented.
            if (nSize > 0) {
                std::copy_n(path.begin(), nSize - 1, lpFilename);
                lpFilename[nSize - 1] = 0;
            }
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return nSize;
        }
        std::copy(path.begin(), path.end(), lpFilename);
        lpFilename[path.size()] = 0;
        SetLastError(ERROR_SUCCESS);
        return static_cast<DWORD>(path.size());
    });
}

COMRT_API int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    return comrt::GuardValue(0, [&]() -> int {
        if (lpBuffer == nullptr || cchBufferMax < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        const ComrtResourceTable* table = TableOf(hInstance);
        const ComrtStringResource* found = nullptr;
        if (table != nullptr && table->strings != nullptr) {
            for (DWORD i = 0; i < table->stringCount; ++i) {
                if (table->strings[i].id == uID && table->strings[i].text != nullptr) {
                    found = &table->strings[i];
                    break;
                }
            }
        }
        if (found == nullptr) {
            if (cchBufferMax > 0) lpBuffer[0] = 0;
            SetLastError(table == nullptr ? ERROR_RESOURCE_DATA_NOT_FOUND
                                          : ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        const std::size_t length = comrt::WideLength(found->text);
        if (cchBufferMax == 0) {
            // The buffer receives a read-only pointer to the resource's own text.
            const WCHAR* text = found->text;
            std::memcpy(lpBuffer, &text, sizeof(text));
            return static_cast<int>(length);
        }
        const std::size_t copied = std::min(length, static_cast<std::size_t>(cchBufferMax) - 1);
        std::copy_n(found->text, copied, lpBuffer);
        lpBuffer[copied] = 0;
        return static_cast<int>(copied);
    });
}

COMRT_API HRSRC FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    return comrt::GuardValue<HRSRC>(nullptr, [&]() -> HRSRC {
        if (lpName == nullptr || lpType == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        const ComrtResourceTable* table = TableOf(hModule);
        if (table == nullptr || table->resources == nullptr) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
        UINT id = 0;
        const bool numbered = ResourceNumber(lpName, id);
        bool typeSeen = false;
        for (DWORD i = 0; i < table->resourceCount; ++i) {
            const ComrtBinaryResource& resource = table->resources[i];
            if (!TypeMatches(resource, lpType)) continue;
            typeSeen = true;
            // The table names resources by number only.
            if (numbered && resource.id == id) {
                return reinterpret_cast<HRSRC>(const_cast<ComrtBinaryResource*>(&resource));
            }
        }
        SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    });
}

COMRT_API HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) {
    return comrt::GuardValue<HGLOBAL>(nullptr, [&]() -> HGLOBAL {
        const auto* resource = reinterpret_cast<const ComrtBinaryResource*>(hResInfo);
        if (!BelongsTo(TableOf(hModule), resource)) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
        return const_cast<void*>(resource->data);
    });
}

COMRT_API LPVOID LockResource(HGLOBAL hResData) { return hResData; }

COMRT_API DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    return comrt::GuardValue<DWORD>(0, [&]() -> DWORD {
        const auto* resource = reinterpret_cast<const ComrtBinaryResource*>(hResInfo);
        if (!BelongsTo(TableOf(hModule), resource)) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return 0;
        }
        return resource->size;
    });
}
