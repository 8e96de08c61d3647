// Applies a parsed registry script to the registry: registration writes it, unregistration removes
// what it wrote, keeping NoRemove keys and anything a key holds beyond the script's own entries.
#pragma once

#include "registry_script.h"
#include "win_registry.h"

class RegistryScriptWriter {
  public:
    // Per user, HKCR blocks go to HKEY_CURRENT_USER\Software\Classes.
    explicit RegistryScriptWriter(bool perUser) : m_perUser(perUser) {}

    HRESULT Register(const RegScript& script) const {
        for (const RegScriptBlock& block : script.blocks) {
            HKEY root = nullptr;
            bool close = false;
            LSTATUS status = OpenRoot(block.root, true, root, close);
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
            status = RegisterKey(root, block.body);
            if (close) RegCloseKey(root);
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        }
        return S_OK;
    }

    // Keys and values that are already gone are not an error.
    HRESULT Unregister(const RegScript& script) const {
        for (const RegScriptBlock& block : script.blocks) {
            HKEY root = nullptr;
            bool close = false;
            LSTATUS status = OpenRoot(block.root, false, root, close);
            if (status == ERROR_FILE_NOT_FOUND) continue;
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
            status = UnregisterKey(root, block.body);
            if (close) RegCloseKey(root);
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        }
        return S_OK;
    }

  private:
    LSTATUS OpenRoot(RegScriptRoot which, bool create, HKEY& root, bool& close) const {
        close = false;
        switch (which) {
            case RegScriptRoot::ClassesRoot:
                if (!m_perUser) {
                    root = HKEY_CLASSES_ROOT;
                    return ERROR_SUCCESS;
                }
                close = true;
                return create ? RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Classes", 0, nullptr,
                                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                                &root, nullptr)
                              : RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Classes", 0,
                                              KEY_ALL_ACCESS, &root);
            case RegScriptRoot::CurrentUser:
                root = HKEY_CURRENT_USER;
                return ERROR_SUCCESS;
            case RegScriptRoot::LocalMachine:
                root = HKEY_LOCAL_MACHINE;
                return ERROR_SUCCESS;
            case RegScriptRoot::Users:
                root = HKEY_USERS;
                return ERROR_SUCCESS;
        }
        return ERROR_INVALID_PARAMETER;
    }

    static LSTATUS SetValue(HKEY key, const char16_t* name, const RegScriptValue& value) {
        return RegSetValueExW(key, name, 0, value.type, value.data.data(),
                              static_cast<DWORD>(value.data.size()));
    }

    static LSTATUS DeleteTree(HKEY parent, const std::u16string& name) {
        LSTATUS status = RegDeleteTreeW(parent, name.c_str());
        if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        // Whether the tree call removes the key itself or only its contents, it goes now.
        status = RegDeleteKeyW(parent, name.c_str());
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    }

    // Writes the key's own values and its subkeys into the open key `key`.
    static LSTATUS RegisterKey(HKEY key, const RegScriptKey& script) {
        LSTATUS status = ERROR_SUCCESS;
        if (script.defaultValue) status = SetValue(key, nullptr, *script.defaultValue);
        for (const auto& value : script.values) {
            if (status != ERROR_SUCCESS) break;
            status = SetValue(key, value.first.c_str(), value.second);
        }
        for (const RegScriptKey& subkey : script.subkeys) {
            if (status != ERROR_SUCCESS) break;
            if (subkey.flag == RegScriptKeyFlag::Delete) {
                status = DeleteTree(key, subkey.name);
                continue;
            }
            if (subkey.flag == RegScriptKeyFlag::ForceRemove) {
                status = DeleteTree(key, subkey.name);
                if (status != ERROR_SUCCESS) break;
            }
            HKEY child = nullptr;
            status = RegCreateKeyExW(key, subkey.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &child, nullptr);
            if (status != ERROR_SUCCESS) break;
            status = RegisterKey(child, subkey);
            RegCloseKey(child);
        }
        return status;
    }

    static bool IsEmpty(HKEY key) {
        char16_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_NO_MORE_ITEMS)
            return false;
        length = 256;
        const LSTATUS status =
            RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        return status == ERROR_NO_MORE_ITEMS;
    }

    static LSTATUS IgnoreMissing(LSTATUS status) {
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    }

    // Removes the key's script values and subkeys from the open key `key`.
    static LSTATUS UnregisterKey(HKEY key, const RegScriptKey& script) {
        for (const RegScriptKey& subkey : script.subkeys) {
            if (subkey.flag == RegScriptKeyFlag::Delete) continue;
            if (subkey.flag == RegScriptKeyFlag::ForceRemove) {
                const LSTATUS status = DeleteTree(key, subkey.name);
                if (status != ERROR_SUCCESS) return status;
                continue;
            }
            HKEY child = nullptr;
            LSTATUS status = RegOpenKeyExW(key, subkey.name.c_str(), 0, KEY_ALL_ACCESS, &child);
            if (status == ERROR_FILE_NOT_FOUND) continue;
            if (status != ERROR_SUCCESS) return status;
            status = UnregisterKey(child, subkey);
            const bool empty = status == ERROR_SUCCESS && IsEmpty(child);
            RegCloseKey(child);
            if (status != ERROR_SUCCESS) return status;
            if (subkey.flag != RegScriptKeyFlag::NoRemove && empty) {
                status = IgnoreMissing(RegDeleteKeyW(key, subkey.name.c_str()));
                if (status != ERROR_SUCCESS) return status;
            }
        }
        for (const auto& value : script.values) {
            const LSTATUS status = IgnoreMissing(RegDeleteValueW(key, value.first.c_str()));
            if (status != ERROR_SUCCESS) return status;
        }
        if (script.defaultValue) {
            const LSTATUS status = IgnoreMissing(RegDeleteValueW(key, nullptr));
            if (status != ERROR_SUCCESS) return status;
        }
        return ERROR_SUCCESS;
    }

    bool m_perUser;
};
