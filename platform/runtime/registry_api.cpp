// The exported Reg* functions: argument guards around RegistryStore.
#include "api_guard.h"
#include "registry_store.h"
#include "win_registry.h"

using comrt::GuardStatus;
using comrt::RegistryStore;

COMRT_API LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*Reserved*/,
                                  LPWSTR /*lpClass*/, DWORD /*dwOptions*/, REGSAM samDesired,
                                  const SECURITY_ATTRIBUTES* /*lpSecurityAttributes*/,
                                  PHKEY phkResult, LPDWORD lpdwDisposition) {
    return GuardStatus([&] {
        return RegistryStore::Instance().CreateKey(hKey, lpSubKey, samDesired, phkResult,
                                                   lpdwDisposition);
    });
}

COMRT_API LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                                PHKEY phkResult) {
    return GuardStatus(
        [&] { return RegistryStore::Instance().OpenKey(hKey, lpSubKey, samDesired, phkResult); });
}

COMRT_API LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD /*Reserved*/, DWORD dwType,
                                 const BYTE* lpData, DWORD cbData) {
    return GuardStatus([&] {
        return RegistryStore::Instance().SetValue(hKey, lpValueName, dwType, lpData, cbData);
    });
}

COMRT_API LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved,
                                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    return GuardStatus([&]() -> LONG {
        if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
        return RegistryStore::Instance().QueryValue(hKey, lpValueName, lpType, lpData, lpcbData);
    });
}

COMRT_API LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                                LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                                PFILETIME lpftLastWriteTime) {
    return GuardStatus([&]() -> LONG {
        if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
        if (lpClass != nullptr && lpcchClass == nullptr) return ERROR_INVALID_PARAMETER;
        const LONG status = RegistryStore::Instance().EnumKey(hKey, dwIndex, lpName, lpcchName);
        if (status != ERROR_SUCCESS) return status;
        // Keys carry no class names and no write times here.
        if (lpClass != nullptr && *lpcchClass > 0) lpClass[0] = 0;
        if (lpcchClass != nullptr) *lpcchClass = 0;
        if (lpftLastWriteTime != nullptr) *lpftLastWriteTime = FILETIME{0, 0};
        return ERROR_SUCCESS;
    });
}

COMRT_API LSTATUS RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName,
                                LPDWORD lpcchValueName, LPDWORD lpReserved, LPDWORD lpType,
                                LPBYTE lpData, LPDWORD lpcbData) {
    return GuardStatus([&]() -> LONG {
        if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
        return RegistryStore::Instance().EnumValue(hKey, dwIndex, lpValueName, lpcchValueName,
                                                   lpType, lpData, lpcbData);
    });
}

COMRT_API LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    return GuardStatus([&] { return RegistryStore::Instance().DeleteKey(hKey, lpSubKey); });
}

COMRT_API LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return GuardStatus([&] { return RegistryStore::Instance().DeleteValue(hKey, lpValueName); });
}

COMRT_API LSTATUS RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
    return GuardStatus([&] { return RegistryStore::Instance().DeleteTree(hKey, lpSubKey); });
}

COMRT_API LSTATUS RegCloseKey(HKEY hKey) {
    return GuardStatus([&] { return RegistryStore::Instance().CloseKey(hKey); });
}
