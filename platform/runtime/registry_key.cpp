// Lookups and creation inside an in-memory registry hive.
#include "registry_key.h"

#include <algorithm>

#include "wide_text.h"

namespace comrt {

RegistryKey* RegistryKey::FindChild(std::u16string_view childName) const {
    const auto found = children.find(FoldAscii(childName));
    return found == children.end() ? nullptr : found->second.get();
}

RegistryValue* RegistryKey::FindValue(std::u16string_view valueName) {
    for (auto& value : values) {
        if (EqualsFolded(value.name, valueName)) return &value;
    }
    return nullptr;
}

const RegistryValue* RegistryKey::FindValue(std::u16string_view valueName) const {
    return const_cast<RegistryKey*>(this)->FindValue(valueName);
}

bool RegistryKey::RemoveValue(std::u16string_view valueName) {
    const auto found = std::find_if(values.begin(), values.end(), [&](const RegistryValue& value) {
        return EqualsFolded(value.name, valueName);
    });
    if (found == values.end()) return false;
    values.erase(found);
    return true;
}

RegistryKey* RegistryHive::Find(const std::vector<std::u16string>& path) const {
    auto* key = const_cast<RegistryKey*>(&root);
    for (const auto& component : path) {
        key = key->FindChild(component);
        if (key == nullptr) return nullptr;
    }
    return key;
}

RegistryKey* RegistryHive::Create(const std::vector<std::u16string>& path, bool& created) {
    created = false;
    RegistryKey* key = &root;
    for (const auto& component : path) {
        RegistryKey* child = key->FindChild(component);
        if (child == nullptr) {
            auto fresh = std::make_unique<RegistryKey>();
            fresh->name = component;
            fresh->id = nextId++;
            child = fresh.get();
            key->children.emplace(FoldAscii(component), std::move(fresh));
            created = true;
        } else {
            created = false;
        }
        key = child;
    }
    return key;
}

}  // namespace comrt
