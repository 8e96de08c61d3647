// Type libraries as data (no type library compiler exists here): a description compiled into the
// module as the "TYPELIB" resource, and its registration as the platform records it.
#pragma once

#include <string>

#include "com_base.h"
#include "com_guard.h"
#include "com_runtime.h"
#include "module_resources.h"
#include "win_registry.h"

struct TypeLibInterface {
    const IID* iid;
    LPCOLESTR name;
};
struct TypeLibCoClass {
    const CLSID* clsid;
    LPCOLESTR name;
};

// "TLIB": marks the resource as a description of this shape.
constexpr DWORD kTypeLibSignature = 0x42494C54;

struct TypeLibDescription {
    DWORD signature;
    const GUID* libid;
    LPCOLESTR name;
    LPCOLESTR helpString;  // may be null; the version key's default is the name then
    WORD majorVersion;
    WORD minorVersion;
    LCID lcid;
    WORD libFlags;
    const TypeLibInterface* interfaces;
    DWORD interfaceCount;
    const TypeLibCoClass* coclasses;
    DWORD coclassCount;
};

// The proxy/stub class of automation-compatible interfaces.
COMRT_GUID(CLSID_PSOAInterface, 0x00020424, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00,
           0x00, 0x46);

namespace type_library_detail {
inline std::u16string GuidText(REFGUID guid) {
    char16_t text[40] = {};
    const int length = StringFromGUID2(guid, text, 40);
    return length > 1 ? std::u16string(text, static_cast<size_t>(length - 1)) : std::u16string();
}
inline std::u16string Hex(unsigned value) {
    static const char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}
inline std::u16string Decimal(unsigned value) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}
inline std::u16string VersionText(const TypeLibDescription& lib) {
    return Hex(lib.majorVersion) + u"." + Hex(lib.minorVersion);
}
inline LSTATUS SetText(HKEY key, LPCWSTR name, const std::u16string& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}
// Creates root\path and sets its default value.
inline LSTATUS CreateWithDefault(HKEY root, const std::u16string& path,
                                 const std::u16string& text) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetText(key, nullptr, text);
    RegCloseKey(key);
    return status;
}
inline LSTATUS DeleteTree(HKEY root, const std::u16string& path) {
    LSTATUS status = RegDeleteTreeW(root, path.c_str());
    if (status == ERROR_SUCCESS) status = RegDeleteKeyW(root, path.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}
inline bool DefaultEquals(HKEY root, const std::u16string& path, const std::u16string& expected) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char16_t buffer[64] = {};
    DWORD size = sizeof(buffer) - sizeof(char16_t);
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return false;
    std::u16string text(buffer, size / sizeof(char16_t));
    while (!text.empty() && text.back() == 0) text.pop_back();
    if (text.size() != expected.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; };
        if (fold(text[i]) != fold(expected[i])) return false;
    }
    return true;
}
// HKCR, or HKEY_CURRENT_USER\Software\Classes for per-user registration.
inline LSTATUS OpenClassesRoot(bool perUser, bool create, HKEY& root) {
    if (!perUser) {
        root = HKEY_CLASSES_ROOT;
        return ERROR_SUCCESS;
    }
    return create
               ? RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Classes", 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &root, nullptr)
               : RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Classes", 0, KEY_ALL_ACCESS, &root);
}
inline bool IsValid(const TypeLibDescription* lib) {
    return lib != nullptr && lib->signature == kTypeLibSignature && lib->libid != nullptr &&
           lib->name != nullptr && (lib->interfaceCount == 0 || lib->interfaces != nullptr) &&
           (lib->coclassCount == 0 || lib->coclasses != nullptr);
}
}  // namespace type_library_detail

// Writes TypeLib\{libid}\{version} (name, win64 path, FLAGS, HELPDIR) and Interface\{iid} for
// each interface of the library. helpDir null means the module's folder.
inline HRESULT RegisterTypeLibDescription(const TypeLibDescription& lib, LPCOLESTR modulePath,
                                          LPCOLESTR helpDir, bool perUser) {
    using namespace type_library_detail;
    return ComGuard([&]() -> HRESULT {
        if (!IsValid(&lib) || modulePath == nullptr) return E_INVALIDARG;
        HKEY root = nullptr;
        LSTATUS status = OpenClassesRoot(perUser, true, root);
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        const std::u16string libid = GuidText(*lib.libid);
        const std::u16string version = VersionText(lib);
        const std::u16string versionKey = u"TypeLib\\" + libid + u"\\" + version;
        const std::u16string path(modulePath);
        std::u16string folder = helpDir != nullptr ? std::u16string(helpDir) : std::u16string();
        if (helpDir == nullptr) {
            const size_t slash = path.find_last_of(u"/\\");
            if (slash != std::u16string::npos) folder = path.substr(0, slash);
        }
        status = CreateWithDefault(root, versionKey,
                                   lib.helpString != nullptr ? lib.helpString : lib.name);
        if (status == ERROR_SUCCESS)
            status = CreateWithDefault(root, versionKey + u"\\" + Hex(lib.lcid) + u"\\win64", path);
        if (status == ERROR_SUCCESS)
            status = CreateWithDefault(root, versionKey + u"\\FLAGS", Decimal(lib.libFlags));
        if (status == ERROR_SUCCESS)
            status = CreateWithDefault(root, versionKey + u"\\HELPDIR", folder);
        for (DWORD i = 0; status == ERROR_SUCCESS && i < lib.interfaceCount; ++i) {
            const TypeLibInterface& itf = lib.interfaces[i];
            if (itf.iid == nullptr || itf.name == nullptr) {
                status = ERROR_INVALID_DATA;
                break;
            }
            const std::u16string key = u"Interface\\" + GuidText(*itf.iid);
            const std::u16string proxy = GuidText(CLSID_PSOAInterface);
            status = CreateWithDefault(root, key, itf.name);
            if (status == ERROR_SUCCESS)
                status = CreateWithDefault(root, key + u"\\ProxyStubClsid", proxy);
            if (status == ERROR_SUCCESS)
                status = CreateWithDefault(root, key + u"\\ProxyStubClsid32", proxy);
            if (status == ERROR_SUCCESS)
                status = CreateWithDefault(root, key + u"\\TypeLib", libid);
            if (status == ERROR_SUCCESS) {
                HKEY typeLibKey = nullptr;
                status = RegOpenKeyExW(root, (key + u"\\TypeLib").c_str(), 0, KEY_ALL_ACCESS,
                                       &typeLibKey);
                if (status == ERROR_SUCCESS) {
                    status = SetText(typeLibKey, u"Version", version);
                    RegCloseKey(typeLibKey);
                }
            }
        }
        if (root != HKEY_CLASSES_ROOT) RegCloseKey(root);
        return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
    });
}

// Removes the library's version key (and its libid key when nothing else is left there) and
// the Interface keys that name this library.
inline HRESULT UnRegisterTypeLibDescription(const TypeLibDescription& lib, bool perUser) {
    using namespace type_library_detail;
    return ComGuard([&]() -> HRESULT {
        if (!IsValid(&lib)) return E_INVALIDARG;
        HKEY root = nullptr;
        LSTATUS status = OpenClassesRoot(perUser, false, root);
        if (status == ERROR_FILE_NOT_FOUND) return S_OK;
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        const std::u16string libid = GuidText(*lib.libid);
        for (DWORD i = 0; status == ERROR_SUCCESS && i < lib.interfaceCount; ++i) {
            if (lib.interfaces[i].iid == nullptr) continue;
            const std::u16string key = u"Interface\\" + GuidText(*lib.interfaces[i].iid);
            if (DefaultEquals(root, key + u"\\TypeLib", libid)) status = DeleteTree(root, key);
        }
        const std::u16string libKey = u"TypeLib\\" + libid;
        if (status == ERROR_SUCCESS) status = DeleteTree(root, libKey + u"\\" + VersionText(lib));
        if (status == ERROR_SUCCESS) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(root, libKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
                char16_t name[256];
                DWORD length = 256;
                const bool empty = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr,
                                                 nullptr) == ERROR_NO_MORE_ITEMS;
                RegCloseKey(key);
                if (empty) status = DeleteTree(root, libKey);
            }
        }
        if (root != HKEY_CLASSES_ROOT) RegCloseKey(root);
        return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
    });
}

// The description in the module's "TYPELIB" resource `index` (1 when null), or null.
inline const TypeLibDescription* LoadTypeLibDescription(HINSTANCE module, LPCOLESTR index) {
    LPCOLESTR name = index != nullptr ? index : MAKEINTRESOURCEW(1);
    HRSRC resource = FindResourceW(module, name, u"TYPELIB");
    if (resource == nullptr) return nullptr;
    if (SizeofResource(module, resource) < sizeof(TypeLibDescription)) return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* lib =
        static_cast<const TypeLibDescription*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    return type_library_detail::IsValid(lib) ? lib : nullptr;
}
