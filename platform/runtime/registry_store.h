// The registry behind the Reg* functions: open-key handles, the merged HKEY_CLASSES_ROOT view,
// and the hive files under the registry root, re-read whenever another process replaced them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "hive_file.h"
#include "registry_key.h"
#include "win_registry.h"

namespace comrt {

enum class HiveId { kMachine, kUser, kUsers };

class RegistryStore {
  public:
    static RegistryStore& Instance();

    LONG CreateKey(HKEY base, const WCHAR* subKey, REGSAM access, HKEY* result, DWORD* disposition);
    LONG OpenKey(HKEY base, const WCHAR* subKey, REGSAM access, HKEY* result);
    LONG SetValue(HKEY key, const WCHAR* name, DWORD type, const BYTE* data, DWORD size);
    LONG QueryValue(HKEY key, const WCHAR* name, DWORD* type, BYTE* data, DWORD* size);
    LONG EnumKey(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength);
    LONG EnumValue(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength, DWORD* type, BYTE* data,
                   DWORD* size);
    LONG DeleteKey(HKEY key, const WCHAR* subKey);
    LONG DeleteValue(HKEY key, const WCHAR* name);
    LONG DeleteTree(HKEY key, const WCHAR* subKey);
    LONG CloseKey(HKEY key);

    // The folder that holds the hive files, resolved from the environment on every call.
    static LONG ResolveRoot(std::string& root);

  private:
    // What a handle names: a key of one hive, or a key of the merged classes view.
    struct KeyRef {
        std::string root;
        bool merged = false;
        HiveId hive = HiveId::kMachine;
        std::vector<std::u16string> path;
        std::uint64_t id = RegistryHive::kRootId;
        REGSAM access = 0;
    };
    struct CachedHive {
        FileStamp stamp;
        std::unique_ptr<RegistryHive> hive;
    };
    struct MergedKeys {
        RegistryKey* user = nullptr;
        RegistryKey* machine = nullptr;
    };

    LONG Resolve(HKEY key, KeyRef& ref);
    HKEY AddHandle(KeyRef ref);
    LONG LoadHive(const std::string& root, HiveId hive, RegistryHive*& loaded);
    LONG SaveHive(const std::string& root, HiveId hive);
    LONG FindKey(const KeyRef& ref, RegistryHive*& hive, RegistryKey*& key);
    LONG FindMerged(const KeyRef& ref, const std::vector<std::u16string>& path, MergedKeys& keys);
    // The key whose values a read sees, or null when the key has none (an absent HKCR root).
    LONG ReadableKey(const KeyRef& ref, const RegistryKey*& key);
    // The hive and key a change of ref's values goes to; creates HKCR's machine root if needed.
    LONG WritableKey(const KeyRef& ref, HiveId& hive, RegistryKey*& key);
    LONG RemoveKey(const KeyRef& ref, const std::vector<std::u16string>& relative, bool tree);

    std::mutex mutex_;
    std::unordered_map<std::uintptr_t, KeyRef> handles_;
    std::uintptr_t nextHandle_ = 0x1000;
    std::map<std::string, CachedHive> cache_;
};

}  // namespace comrt
