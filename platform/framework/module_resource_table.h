// Defines the resource table a module carries for the runtime (string table, registry scripts,
// type library description, dialog templates, version block):
//   static const ComrtStringResource kStrings[] = {MODULE_STRING(101, "text"), ...};
//   static const ComrtBinaryResource kResources[] = {MODULE_REGISTRY_SCRIPT(329, kScript), ...};
//   static constexpr VS_FIXEDFILEINFO kVersion = MakeFixedFileInfo(1, 0, 1, 1);
//   COMRT_DEFINE_MODULE_RESOURCES(kStrings, kResources, &kVersion)
#pragma once

#include <cstddef>

#include "com_base.h"
#include "module_resources.h"

template <class T, size_t N>
constexpr DWORD ComrtCountOf(const T (&)[N]) {
    return static_cast<DWORD>(N);
}

#define MODULE_STRING(id, text) \
    { static_cast<UINT>(id), u"" text }

// A registry script given as a string literal or array (UTF-8 or u"" UTF-16), terminator included.
#define MODULE_REGISTRY_SCRIPT(id, script) \
    { 0, u"REGISTRY", static_cast<UINT>(id), (script), static_cast<DWORD>(sizeof(script)) }

// A TypeLibDescription object (type_library.h).
#define MODULE_TYPELIB(id, description)                       \
    {                                                         \
        0, u"TYPELIB", static_cast<UINT>(id), &(description), \
            static_cast<DWORD>(sizeof(description))           \
    }

// A dialog template object of the ui layer.
#define MODULE_DIALOG(id, dialogTemplate)                     \
    {                                                         \
        5, nullptr, static_cast<UINT>(id), &(dialogTemplate), \
            static_cast<DWORD>(sizeof(dialogTemplate))        \
    }

#define MODULE_BINARY(typeName, id, data, size) \
    { 0, u"" typeName, static_cast<UINT>(id), (data), static_cast<DWORD>(size) }

constexpr VS_FIXEDFILEINFO MakeFixedFileInfo(WORD major, WORD minor, WORD build, WORD revision) {
    const DWORD versionMS = (static_cast<DWORD>(major) << 16) | minor;
    const DWORD versionLS = (static_cast<DWORD>(build) << 16) | revision;
    return VS_FIXEDFILEINFO{VS_FFI_SIGNATURE,
                            VS_FFI_STRUCVERSION,
                            versionMS,
                            versionLS,
                            versionMS,
                            versionLS,
                            0x3F,
                            0,
                            VOS_NT_WINDOWS32,
                            VFT_DLL,
                            0,
                            0,
                            0};
}

// The module's table, found by the runtime through the module's resource note (not exported).
#define COMRT_DEFINE_MODULE_RESOURCES(strings, resources, fixedFileInfo)                          \
    extern "C" __attribute__((visibility("hidden"), used))                                        \
    const ComrtResourceTable ComrtModuleResources = {                                             \
        (strings), ComrtCountOf(strings), (resources), ComrtCountOf(resources), (fixedFileInfo)}; \
    COMRT_RESOURCE_NOTE(ComrtModuleResources);

// The same, for a module with no string table.
#define COMRT_DEFINE_MODULE_RESOURCES_NO_STRINGS(resources, fixedFileInfo)                      \
    extern "C" __attribute__((visibility("hidden"), used))                                      \
    const ComrtResourceTable ComrtModuleResources = {nullptr, 0, (resources),                   \
                                                     ComrtCountOf(resources), (fixedFileInfo)}; \
    COMRT_RESOURCE_NOTE(ComrtModuleResources);
