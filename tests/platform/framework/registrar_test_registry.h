// A scratch registry for registrar tests: a fresh root folder per test, and a full text dump of
// both hives to compare before and after.
#pragma once

#include <gtest/gtest.h>
#include <cstdlib>

#include <filesystem>
#include <map>
#include <string>

#include "utf_text.h"
#include "win_registry.h"

class ScratchRegistry {
  public:
    ScratchRegistry() {
        char pattern[] = "/tmp/objmodel-registry-XXXXXX";
        const char* made = mkdtemp(pattern);
        EXPECT_NE(nullptr, made);
        m_root = made != nullptr ? made : "/tmp";
        setenv(COMRT_REGISTRY_ROOT_VARIABLE, m_root.c_str(), 1);
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;
    ~ScratchRegistry() {
        unsetenv(COMRT_REGISTRY_ROOT_VARIABLE);
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    // Every key and value under HKCU and HKLM, one line each, sorted.
    static std::string Dump() {
        std::map<std::string, std::string> lines;
        DumpKey(HKEY_CURRENT_USER, "HKCU", lines);
        DumpKey(HKEY_LOCAL_MACHINE, "HKLM", lines);
        std::string text;
        for (const auto& line : lines) text += line.first + line.second + "\n";
        return text;
    }

    static void SetString(HKEY root, const std::u16string& path, const char16_t* name,
                          const std::u16string& value) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * 2)));
        RegCloseKey(key);
    }
    static void CreateKey(HKEY root, const std::u16string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        RegCloseKey(key);
    }
    static bool KeyExists(HKEY root, const std::u16string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    // The value's type and data as text ("missing" when absent).
    static std::string Value(HKEY root, const std::u16string& path, const char16_t* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "missing";
        BYTE data[4096];
        DWORD size = sizeof(data);
        DWORD type = 0;
        const LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, data, &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return "missing";
        return Render(type, data, size);
    }

  private:
    static std::string Render(DWORD type, const BYTE* data, DWORD size) {
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            std::u16string text;
            for (DWORD i = 0; i + 1 < size; i += 2)
                text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
            while (!text.empty() && text.back() == 0) text.pop_back();
            return (type == REG_SZ ? "s:" : "e:") + comrt::Utf16ToUtf8(text);
        }
        if (type == REG_DWORD && size == 4)
            return "d:" + std::to_string(data[0] | (data[1] << 8) | (data[2] << 16) |
                                         (static_cast<DWORD>(data[3]) << 24));
        std::string hex = "t" + std::to_string(type) + ":";
        for (DWORD i = 0; i < size; ++i) {
            static const char kDigits[] = "0123456789abcdef";
            hex.push_back(kDigits[data[i] >> 4]);
            hex.push_back(kDigits[data[i] & 0xF]);
        }
        return hex;
    }

    static void DumpKey(HKEY key, const std::string& path,
                        std::map<std::string, std::string>& lines) {
        lines[path] = "";
        for (DWORD i = 0;; ++i) {
            char16_t name[16384];
            DWORD nameLength = 16384;
            BYTE data[4096];
            DWORD size = sizeof(data);
            DWORD type = 0;
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) !=
                ERROR_SUCCESS)
                break;
            lines[path + " @" + comrt::Utf16ToUtf8(std::u16string(name, nameLength))] =
                " = " + Render(type, data, size);
        }
        for (DWORD i = 0;; ++i) {
            char16_t name[256];
            DWORD nameLength = 256;
            if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            HKEY child = nullptr;
            const std::u16string childName(name, nameLength);
            if (RegOpenKeyExW(key, childName.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS) {
                lines[path + "\\" + comrt::Utf16ToUtf8(childName)] = " <unreadable>";
                continue;
            }
            DumpKey(child, path + "\\" + comrt::Utf16ToUtf8(childName), lines);
            RegCloseKey(child);
        }
    }

    std::string m_root;
};
