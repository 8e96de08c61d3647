// The in-memory form of a registry hive: keys with case-preserving, case-insensitive names,
// values in the order they were first set, and a per-key id that never repeats in the hive.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "com_base.h"

namespace comrt {

struct RegistryValue {
    std::u16string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct RegistryKey {
    std::u16string name;
    std::uint64_t id = 0;
    // Keyed by the ASCII-folded name, which also gives enumeration its sorted order.
    std::map<std::u16string, std::unique_ptr<RegistryKey>> children;
    std::vector<RegistryValue> values;

    RegistryKey* FindChild(std::u16string_view childName) const;
    RegistryValue* FindValue(std::u16string_view valueName);
    const RegistryValue* FindValue(std::u16string_view valueName) const;
    bool RemoveValue(std::u16string_view valueName);
};

struct RegistryHive {
    static constexpr std::uint64_t kRootId = 1;
    // Deeper keys are refused, as on the platform; it also bounds recursion over the tree.
    static constexpr std::size_t kMaxDepth = 512;

    RegistryHive() { root.id = kRootId; }

    RegistryKey root;
    std::uint64_t nextId = kRootId + 1;

    // The key at path (each component already a key name), or null.
    RegistryKey* Find(const std::vector<std::u16string>& path) const;
    // Creates what is missing along path; created tells whether the last key is new.
    RegistryKey* Create(const std::vector<std::u16string>& path, bool& created);
};

}  // namespace comrt
