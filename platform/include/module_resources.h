// Modules and their resources: module handles and file names, and the resource table that a
// module carries as data (string table, dialog templates, registry scripts, version block).
#pragma once

#include "com_base.h"

// A resource id or a resource name, as the platform passes them.
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_VERSION MAKEINTRESOURCEW(16)

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;  // 0xFEEF04BD
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VOS_NT_WINDOWS32 = 0x00040004;
constexpr DWORD VFT_DLL = 0x2;

// Functional casts, as the published macros take integers and resource-id pointers alike.
#define HIWORD(l) (static_cast<WORD>((DWORD_PTR(l) >> 16) & 0xffff))
#define LOWORD(l) (static_cast<WORD>(DWORD_PTR(l) & 0xffff))

// The resource table a module compiles in. The module does not export it: an ELF note of the
// module (name "comrt", type kComrtResourceNoteType) holds the table's address as a 64-bit offset
// from the note's descriptor, so the runtime finds it in the loaded segments, the way the platform
// finds a module's resource section.
struct ComrtStringResource {
    UINT id;
    const WCHAR* text;
};
struct ComrtBinaryResource {
    WORD typeId;            // 0 when the type is named
    const WCHAR* typeName;  // "REGISTRY", "TYPELIB", ...; null when typeId is used
    UINT id;
    const void* data;
    DWORD size;
};
struct ComrtResourceTable {
    const ComrtStringResource* strings;
    DWORD stringCount;
    const ComrtBinaryResource* resources;
    DWORD resourceCount;
    const VS_FIXEDFILEINFO* fixedFileInfo;  // null when the module has no version block
};
constexpr DWORD kComrtResourceNoteType = 0x43524553;
#define COMRT_RESOURCE_NOTE_NAME "comrt"

// Emits the note that points at tableSymbol, a C-linkage ComrtResourceTable of this module.
#define COMRT_RESOURCE_NOTE(tableSymbol)                                   \
    asm(".pushsection .note.comrt-resources,\"a\",%note\n"             \
        ".balign 4\n"                                                    \
        ".long 6\n"                                                      \
        ".long 8\n"                                                      \
        ".long 0x43524553\n"                                             \
        ".asciz \"" COMRT_RESOURCE_NOTE_NAME "\"\n"                      \
        ".balign 4\n"                                                    \
        ".quad " #tableSymbol " - .\n"                                   \
        ".popsection\n")

DECLARE_COMRT_HANDLE(HRSRC);
using HGLOBAL = HANDLE;

// A handle is the base address at which the module is loaded; null names the main program.
COMRT_API HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
COMRT_API DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
COMRT_API int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
COMRT_API HRSRC FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
COMRT_API HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
COMRT_API LPVOID LockResource(HGLOBAL hResData);
COMRT_API DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
COMRT_API DWORD GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, LPDWORD lpdwHandle);
COMRT_API BOOL GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD dwHandle, DWORD dwLen,
                                   LPVOID lpData);
COMRT_API BOOL VerQueryValueW(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen);
COMRT_API DWORD GetLastError();
COMRT_API void SetLastError(DWORD dwErrCode);
