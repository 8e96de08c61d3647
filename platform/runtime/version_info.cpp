// File version information: a version block with the published VS_VERSIONINFO layout, holding
// the module's VS_FIXEDFILEINFO. A module that is not loaded yet is loaded to read its table
// (its static constructors run, nothing else of it) and then stays loaded, like class servers.
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "api_guard.h"
#include "loaded_module.h"
#include "module_resources.h"
#include "wide_text.h"

namespace {

using comrt::LoadedModules;

constexpr char16_t kVersionKey[] = u"VS_VERSION_INFO";
// wLength, wValueLength, wType, then the key with its terminator, padded to 32 bits.
constexpr std::size_t kValueOffset = (6 + sizeof(kVersionKey) + 3) & ~std::size_t{3};
constexpr std::size_t kBlockSize = kValueOffset + sizeof(VS_FIXEDFILEINFO);
static_assert(kValueOffset == 40 && kBlockSize == 92, "published VS_VERSIONINFO layout");
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "published VS_FIXEDFILEINFO layout");

// The version block of the file at path, or an error code for SetLastError.
DWORD BuildBlock(LPCWSTR fileName, std::vector<BYTE>& block) {
    if (fileName == nullptr || fileName[0] == 0) return ERROR_INVALID_PARAMETER;
    const std::string path =
        comrt::Utf16ToUtf8(std::u16string_view(fileName, comrt::WideLength(fileName)));
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return ERROR_FILE_NOT_FOUND;
    auto module = LoadedModules::ByName(path);
    if (!module) {
        if (::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL) == nullptr) return ERROR_BAD_FORMAT;
        module = LoadedModules::ByName(path);
        if (!module) return ERROR_BAD_FORMAT;
    }
    const ComrtResourceTable* table = LoadedModules::ResourcesOf(*module);
    if (table == nullptr || table->fixedFileInfo == nullptr) return ERROR_RESOURCE_TYPE_NOT_FOUND;
    block.assign(kBlockSize, 0);
    const WORD header[3] = {static_cast<WORD>(kBlockSize),
                            static_cast<WORD>(sizeof(VS_FIXEDFILEINFO)), 0};
    std::memcpy(block.data(), header, sizeof(header));
    std::memcpy(block.data() + sizeof(header), kVersionKey, sizeof(kVersionKey));
    std::memcpy(block.data() + kValueOffset, table->fixedFileInfo, sizeof(VS_FIXEDFILEINFO));
    return ERROR_SUCCESS;
}

}  // namespace

COMRT_API DWORD GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, LPDWORD lpdwHandle) {
    return comrt::GuardValue<DWORD>(0, [&]() -> DWORD {
        if (lpdwHandle != nullptr) *lpdwHandle = 0;
        std::vector<BYTE> block;
        const DWORD error = BuildBlock(lptstrFilename, block);
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return 0;
        }
        return static_cast<DWORD>(block.size());
    });
}

COMRT_API BOOL GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD /*dwHandle*/, DWORD dwLen,
                                   LPVOID lpData) {
    return comrt::GuardValue<BOOL>(FALSE, [&]() -> BOOL {
        if (lpData == nullptr || dwLen == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        std::vector<BYTE> block;
        const DWORD error = BuildBlock(lptstrFilename, block);
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return FALSE;
        }
        // A short buffer gets the block cut to its size, and a length that says so.
        const std::size_t copied = std::min<std::size_t>(dwLen, block.size());
        if (copied >= sizeof(WORD)) {
            const auto length = static_cast<WORD>(copied);
            std::memcpy(block.data(), &length, sizeof(length));
        }
        std::memcpy(lpData, block.data(), copied);
        return TRUE;
    });
}

COMRT_API BOOL VerQueryValueW(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen) {
    return comrt::GuardValue<BOOL>(FALSE, [&]() -> BOOL {
        if (pBlock == nullptr || lpSubBlock == nullptr || lplpBuffer == nullptr) return FALSE;
        *lplpBuffer = nullptr;
        if (puLen != nullptr) *puLen = 0;
        // Only the root block, which holds the fixed file information, exists here.
        if (std::u16string_view(lpSubBlock, comrt::WideLength(lpSubBlock)) != u"\\") return FALSE;
        const auto* bytes = static_cast<const BYTE*>(pBlock);
        WORD header[3];
        std::memcpy(header, bytes, sizeof(header));
        if (header[0] < kBlockSize || header[1] != sizeof(VS_FIXEDFILEINFO)) return FALSE;
        if (std::memcmp(bytes + sizeof(header), kVersionKey, sizeof(kVersionKey)) != 0) {
            return FALSE;
        }
        DWORD signature = 0;
        std::memcpy(&signature, bytes + kValueOffset, sizeof(signature));
        if (signature != VS_FFI_SIGNATURE) return FALSE;
        *lplpBuffer = const_cast<BYTE*>(bytes + kValueOffset);
        if (puLen != nullptr) *puLen = sizeof(VS_FIXEDFILEINFO);
        return TRUE;
    });
}
