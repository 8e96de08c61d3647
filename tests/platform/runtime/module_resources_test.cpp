// Tests of module handles, file names, string tables, binary resources and version blocks.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "com_runtime.h"
#include "module_resources.h"
#include "test_server_interface.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string RealPath(const char* path) {
    char* real = ::realpath(path, nullptr);
    std::string result = real == nullptr ? std::string() : std::string(real);
    std::free(real);
    return result;
}

HMODULE LoadServer() {
    EXPECT_NE(::dlopen(COMRT_TEST_SERVER_PATH, RTLD_NOW | RTLD_GLOBAL), nullptr);
    return GetModuleHandleW(u"libcomrt_test_server.so");
}

TEST(ModuleHandleTest, FindsModulesByNameOrPathAndNamesTheirFiles) {
    HMODULE server = LoadServer();
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(GetModuleHandleW(Wide(COMRT_TEST_SERVER_PATH).c_str()), server);
    EXPECT_EQ(GetModuleHandleW(u"LIBCOMRT_TEST_SERVER.SO"), server);
    // The handle is the module's load address.
    Dl_info info{};
    ASSERT_NE(::dladdr(::dlsym(::dlopen(COMRT_TEST_SERVER_PATH, RTLD_NOW | RTLD_NOLOAD),
                               "DllGetClassObject"),
                       &info),
              0);
    EXPECT_EQ(reinterpret_cast<void*>(server), info.dli_fbase);

    WCHAR buffer[PATH_MAX];
    const DWORD length = GetModuleFileNameW(server, buffer, PATH_MAX);
    EXPECT_EQ(std::u16string(buffer, length), Wide(RealPath(COMRT_TEST_SERVER_PATH)));
    const DWORD programLength = GetModuleFileNameW(nullptr, buffer, PATH_MAX);
    EXPECT_EQ(std::u16string(buffer, programLength), Wide(RealPath("/proc/self/exe")));
    EXPECT_EQ(GetModuleHandleW(nullptr),
              GetModuleHandleW(Wide(RealPath("/proc/self/exe")).c_str()));
}

TEST(ModuleHandleTest, FileNameTruncatesToTheBuffer) {
    HMODULE server = LoadServer();
    WCHAR buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(server, buffer, 5), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::u16string(buffer), Wide(RealPath(COMRT_TEST_SERVER_PATH)).substr(0, 4));
    EXPECT_EQ(buffer[5], u'#');
    EXPECT_EQ(GetModuleFileNameW(server, buffer, 0), 0u);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x10), buffer, 6), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(ModuleHandleTest, UnknownModuleHasNoHandle) {
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleW(u"libnot_loaded_here.so"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetModuleHandleW(u""), nullptr);
}

TEST(LoadStringTest, CopiesTruncatesAndLendsThePointer) {
    HMODULE server = LoadServer();
    WCHAR buffer[64];
    EXPECT_EQ(LoadStringW(server, kTestStringHello, buffer, 64), 12);
    EXPECT_EQ(std::u16string(buffer), u"Hello, world");
    EXPECT_EQ(LoadStringW(server, kTestStringHello, buffer, 6), 5);
    EXPECT_EQ(std::u16string(buffer), u"Hello");
    EXPECT_EQ(LoadStringW(server, kTestStringHello, buffer, 1), 0);
    EXPECT_EQ(buffer[0], 0);
    // A zero-length buffer receives a read-only pointer to the text.
    const WCHAR* text = nullptr;
    EXPECT_EQ(LoadStringW(server, kTestStringSecond, reinterpret_cast<LPWSTR>(&text), 0), 6);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text, 6), u"Second");
    buffer[0] = u'#';
    EXPECT_EQ(LoadStringW(server, 999, buffer, 64), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(LoadStringW(server, kTestStringHello, nullptr, 64), 0);
}

TEST(LoadStringTest, ModulesWithoutTablesHaveNoStrings) {
    // Neither the program nor the runtime carries a table; the server's must not be taken for
    // theirs, though dlsym would find it through the global scope.
    LoadServer();
    WCHAR buffer[64];
    SetLastError(0);
    EXPECT_EQ(LoadStringW(nullptr, kTestStringHello, buffer, 64), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
    Dl_info info{};
    ::dladdr(reinterpret_cast<void*>(&CoTaskMemAlloc), &info);
    HMODULE runtime = GetModuleHandleW(Wide(info.dli_fname).c_str());
    ASSERT_NE(runtime, nullptr);
    EXPECT_EQ(LoadStringW(runtime, kTestStringHello, buffer, 64), 0);
}

TEST(ResourceTest, FindsByTypeNameOrIdAndReadsData) {
    HMODULE server = LoadServer();
    HRSRC script = FindResourceW(server, MAKEINTRESOURCEW(kTestRegistryScript), u"registry");
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(FindResourceW(server, u"#101", u"REGISTRY"), script);
    HGLOBAL loaded = LoadResource(server, script);
    ASSERT_NE(loaded, nullptr);
    const auto* data = static_cast<const char*>(LockResource(loaded));
    const DWORD size = SizeofResource(server, script);
    EXPECT_EQ(std::string(data, size), "HKCR { NoRemove CLSID }");

    HRSRC dialog = FindResourceW(server, MAKEINTRESOURCEW(kTestDialog), RT_DIALOG);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SizeofResource(server, dialog), 4u);

    SetLastError(0);
    EXPECT_EQ(FindResourceW(server, MAKEINTRESOURCEW(kTestDialog), u"REGISTRY"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceW(server, MAKEINTRESOURCEW(1), u"TYPELIB"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceW(server, u"ByName", u"REGISTRY"), nullptr);
    EXPECT_EQ(FindResourceW(server, nullptr, u"REGISTRY"), nullptr);
    // A resource handle of another module, or a made-up one, is refused.
    int stray = 0;
    EXPECT_EQ(LoadResource(nullptr, script), nullptr);
    EXPECT_EQ(SizeofResource(server, reinterpret_cast<HRSRC>(&stray)), 0u);
}

std::string FormatVersion(const VS_FIXEDFILEINFO& info) {
    char text[64];
    std::snprintf(text, sizeof(text), "%d.%d.%d.%d", HIWORD(info.dwFileVersionMS),
                  LOWORD(info.dwFileVersionMS), HIWORD(info.dwFileVersionLS),
                  LOWORD(info.dwFileVersionLS));
    return text;
}

// Other tests load the server and no module is ever unloaded, so this one reads a fresh copy
// under a name of its own.
TEST(VersionInfoTest, ReadsFixedFileInfoOfAModuleNotYetLoaded) {
    std::string folder = (std::filesystem::temp_directory_path() / "comrt-version-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string copy = folder + "/version_probe.so";
    ASSERT_TRUE(std::filesystem::copy_file(COMRT_TEST_SERVER_PATH, copy));
    ASSERT_EQ(::dlopen(copy.c_str(), RTLD_LAZY | RTLD_NOLOAD), nullptr);
    const std::u16string path = Wide(copy);
    DWORD handle = 99;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GE(size, 40u + sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(handle, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(info->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(FormatVersion(*info), "1.2.3.4");
    EXPECT_EQ(info->dwProductVersionMS, 0x00050006u);
    EXPECT_EQ(info->dwFileType, VFT_DLL);
    // The published layout: a 16-bit length, value length and type, then the key.
    WORD header[3];
    std::memcpy(header, block.data(), sizeof(header));
    EXPECT_EQ(header[0], size);
    EXPECT_EQ(header[1], sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(block.data() + 6)),
              u"VS_VERSION_INFO");
    EXPECT_EQ(reinterpret_cast<BYTE*>(info), block.data() + 40);

    void* buffer = nullptr;
    EXPECT_FALSE(
        VerQueryValueW(block.data(), u"\\StringFileInfo\\040904b0\\FileVersion", &buffer, &length));
    EXPECT_FALSE(VerQueryValueW(block.data(), u"\\", nullptr, &length));
    std::filesystem::remove_all(folder);
}

TEST(VersionInfoTest, ShortBufferGivesABlockWithoutFixedInfo) {
    const std::u16string path = Wide(COMRT_TEST_SERVER_PATH);
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    std::vector<BYTE> block(size, 0xCC);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, 60, block.data()));
    EXPECT_EQ(block[60], 0xCC);
    void* info = nullptr;
    UINT length = 0;
    EXPECT_FALSE(VerQueryValueW(block.data(), u"\\", &info, &length));
}

TEST(VersionInfoTest, FilesWithoutVersionOrMissing) {
    Dl_info info{};
    ::dladdr(reinterpret_cast<void*>(&CoTaskMemAlloc), &info);
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSizeW(Wide(info.dli_fname).c_str(), nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(GetFileVersionInfoSizeW(u"/nonexistent/module.so", nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileVersionInfoSizeW(nullptr, nullptr), 0u);
    BYTE block[100];
    EXPECT_FALSE(GetFileVersionInfoW(u"/nonexistent/module.so", 0, sizeof(block), block));
    EXPECT_FALSE(GetFileVersionInfoW(Wide(COMRT_TEST_SERVER_PATH).c_str(), 0, 0, nullptr));
}

// Known gap: version blocks hold the fixed file information only, no string tables.
TEST(VersionInfoTest, DISABLED_StringFileInfoIsQueried) {
    const std::u16string path = Wide(COMRT_TEST_SERVER_PATH);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    void* text = nullptr;
    UINT length = 0;
    EXPECT_TRUE(VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &text, &length));
}

}  // namespace
