// The test server module through its exports, as the platform and a consumer reach it:
// registration in a scratch registry, CoCreateInstance through the registry, unregistration.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "com_runtime.h"
#include "module_resources.h"
#include "registrar_test_registry.h"
#include "test_server_interfaces.h"
#include "this_module.h"

namespace {

using ExportFunction = HRESULT (*)();
using InstallFunction = HRESULT (*)(BOOL, LPCWSTR);
using ClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
using InstanceFunction = HINSTANCE (*)();

const char16_t kObjectKey[] = u"CLSID\\{5D8C1E40-6F7A-4B8C-9D0E-212223242501}";
const char16_t kHelperKey[] = u"CLSID\\{5D8C1E40-6F7A-4B8C-9D0E-212223242502}";
const char16_t kLibKey[] = u"TypeLib\\{5D8C1E40-6F7A-4B8C-9D0E-2122232425FF}";

class TestServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char16_t* key :
             {u"Software\\Classes\\CLSID", u"Software\\Classes\\AppID",
              u"Software\\Classes\\TypeLib", u"Software\\Classes\\Interface"}) {
            ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, key);
            ScratchRegistry::CreateKey(HKEY_CURRENT_USER, key);
        }
        m_module = dlopen(OBJMODEL_TEST_SERVER_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, m_module) << dlerror();
        m_register = Export<ExportFunction>("DllRegisterServer");
        m_unregister = Export<ExportFunction>("DllUnregisterServer");
        m_canUnload = Export<ExportFunction>("DllCanUnloadNow");
        m_install = Export<InstallFunction>("DllInstall");
        m_getClassObject = Export<ClassObjectFunction>("DllGetClassObject");
        char* real = realpath(OBJMODEL_TEST_SERVER_PATH, nullptr);
        ASSERT_NE(nullptr, real);
        m_path = real;
        free(real);
    }
    void TearDown() override {
        // The runtime keeps the module loaded; this only drops the test's own reference.
        if (m_module != nullptr) dlclose(m_module);
    }

    template <class F>
    F Export(const char* name) {
        void* symbol = dlsym(m_module, name);
        EXPECT_NE(nullptr, symbol) << name;
        return reinterpret_cast<F>(symbol);
    }

    ScratchRegistry m_registry;
    void* m_module = nullptr;
    std::string m_path;
    ExportFunction m_register = nullptr;
    ExportFunction m_unregister = nullptr;
    ExportFunction m_canUnload = nullptr;
    InstallFunction m_install = nullptr;
    ClassObjectFunction m_getClassObject = nullptr;
};

TEST_F(TestServerTest, RegistersCreatesThroughTheRegistryAndUnregisters) {
    const std::string before = ScratchRegistry::Dump();
    CComPtr<ITestServer> server;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, server.CoCreateInstance(CLSID_TestServerObject));

    ASSERT_EQ(S_OK, m_register());
    const std::u16string inproc = std::u16string(kObjectKey) + u"\\InprocServer32";
    EXPECT_EQ("s:" + m_path, ScratchRegistry::Value(HKEY_CLASSES_ROOT, inproc, nullptr));
    EXPECT_EQ("s:" + m_path,
              ScratchRegistry::Value(HKEY_CLASSES_ROOT,
                                     std::u16string(kHelperKey) + u"\\InprocServer32", nullptr));
    EXPECT_EQ("s:" TEST_SERVER_APPID,
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, kObjectKey, u"AppID"));
    EXPECT_EQ("s:TestServer",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, u"AppID\\" TEST_SERVER_APPID_U, nullptr));
    EXPECT_EQ("s:" + m_path,
              ScratchRegistry::Value(HKEY_CLASSES_ROOT,
                                     std::u16string(kLibKey) + u"\\1.0\\0\\win64", nullptr));
    CLSID fromProgId = GUID_NULL;
    EXPECT_EQ(S_OK, CLSIDFromProgID(u"TestServer.Object.1", &fromProgId));
    EXPECT_EQ(CLSID_TestServerObject, fromProgId);
    EXPECT_EQ(S_OK, CLSIDFromProgID(u"TestServer.Helper.1", &fromProgId));
    EXPECT_EQ(CLSID_TestServerHelper, fromProgId);
    EXPECT_EQ("s:TestServer H\xC3\xA9lper",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, u"TestServer.Helper.1", nullptr));

    ASSERT_EQ(S_OK, server.CoCreateInstance(CLSID_TestServerObject, nullptr, CLSCTX_INPROC_SERVER));
    LONG result = 0;
    EXPECT_EQ(S_OK, server->Twice(21, &result));
    EXPECT_EQ(42, result);
    CComQIPtr<IPersist> persist(server);
    ASSERT_TRUE(persist);
    CLSID clsid = GUID_NULL;
    EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
    EXPECT_EQ(CLSID_TestServerObject, clsid);
    EXPECT_EQ(S_FALSE, m_canUnload());
    persist.Release();
    server.Release();
    EXPECT_EQ(S_OK, m_canUnload());

    ASSERT_EQ(S_OK, m_unregister());
    EXPECT_EQ(before, ScratchRegistry::Dump());
    EXPECT_EQ(REGDB_E_CLASSNOTREG, server.CoCreateInstance(CLSID_TestServerObject));
}

TEST_F(TestServerTest, AggregationRulesHoldThroughCoCreateInstance) {
    ASSERT_EQ(S_OK, m_register());
    CComPtr<IPersist> helper;
    ASSERT_EQ(S_OK, helper.CoCreateInstance(CLSID_TestServerHelper));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(CLSID_TestServerObject, helper,
                                                      CLSCTX_INPROC_SERVER, IID_ITestServer, &out));
    EXPECT_EQ(nullptr, out);
    // The helper refuses any outer, even for the inner unknown.
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(CLSID_TestServerHelper, helper,
                                                      CLSCTX_INPROC_SERVER, IID_IUnknown, &out));
    // The object class accepts one for its inner unknown.
    IUnknown* inner = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_TestServerObject, helper, CLSCTX_INPROC_SERVER,
                                     IID_IUnknown, reinterpret_cast<void**>(&inner)));
    EXPECT_EQ(0u, inner->Release());
    helper.Release();
    EXPECT_EQ(S_OK, m_unregister());
}

TEST_F(TestServerTest, ClassObjectsServeExactlyTheMappedClasses) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              m_getClassObject(LIBID_TestServerLib, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    for (const CLSID* clsid : {&CLSID_TestServerObject, &CLSID_TestServerHelper}) {
        CComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK,
                  m_getClassObject(*clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
        EXPECT_EQ(S_FALSE, m_canUnload());
    }
    EXPECT_EQ(S_OK, m_canUnload());
}

TEST_F(TestServerTest, PerUserInstallWritesOnlyTheUsersClasses) {
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, m_install(TRUE, u"USER"));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CURRENT_USER,
                                           std::u16string(u"Software\\Classes\\") + kObjectKey));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CURRENT_USER,
                                           std::u16string(u"Software\\Classes\\") + kLibKey));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_LOCAL_MACHINE,
                                            std::u16string(u"Software\\Classes\\") + kObjectKey));
    CComPtr<ITestServer> server;
    EXPECT_EQ(S_OK, server.CoCreateInstance(CLSID_TestServerObject));
    server.Release();
    ASSERT_EQ(S_OK, m_install(FALSE, u"user"));
    EXPECT_EQ(before, ScratchRegistry::Dump());

    // "users" is not "user": per machine.
    ASSERT_EQ(S_OK, m_install(TRUE, u"users"));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_LOCAL_MACHINE,
                                           std::u16string(u"Software\\Classes\\") + kObjectKey));
    ASSERT_EQ(S_OK, m_install(FALSE, nullptr));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(TestServerTest, ModuleHandlesAgreeWithTheRuntime) {
    auto instance = Export<InstanceFunction>("TestServerModuleInstance");
    ASSERT_NE(nullptr, instance);
    const std::string name = m_path.substr(m_path.rfind('/') + 1);
    const std::u16string wideName(name.begin(), name.end());
    EXPECT_EQ(GetModuleHandleW(wideName.c_str()), instance());
    EXPECT_NE(nullptr, instance());
    EXPECT_EQ(GetModuleHandleW(nullptr), GetThisModuleInstance());
    // The resource table's string and version block.
    OLECHAR text[32] = {};
    EXPECT_EQ(11, LoadStringW(instance(), 100, text, 32));
    EXPECT_EQ(std::u16string(u"Test server"), text);
    const std::u16string widePath(m_path.begin(), m_path.end());
    const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(widePath.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", reinterpret_cast<LPVOID*>(&info), &length));
    EXPECT_EQ(VS_FFI_SIGNATURE, info->dwSignature);
    EXPECT_EQ(0x00010000u, info->dwFileVersionMS);
    EXPECT_EQ(0x00010001u, info->dwFileVersionLS);
    // Only the intended entry points leave the module.
    EXPECT_EQ(nullptr, dlsym(m_module, "_pAtlModule"));
    EXPECT_EQ(nullptr, dlsym(m_module, "ComrtModuleResources"));
}

// Nothing of the framework (module object, object map, templates, resource table) is visible
// outside the module; only the standard library's shared template instances may be.
TEST_F(TestServerTest, ExportsOnlyTheEntryPoints) {
    FILE* pipe = popen(("nm -D --defined-only -C '" + m_path + "' 2>/dev/null").c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    std::set<std::string> exported;
    char line[4096];
    while (fgets(line, sizeof(line), pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const size_t name = text.find(' ', text.find(' ') + 1);
        if (name != std::string::npos) exported.insert(text.substr(name + 1));
    }
    if (pclose(pipe) != 0 && exported.empty()) GTEST_SKIP() << "nm is not available";
    const std::set<std::string> entryPoints = {"DllCanUnloadNow",     "DllGetClassObject",
                                               "DllInstall",          "DllRegisterServer",
                                               "DllUnregisterServer", "TestServerModuleInstance"};
    for (const std::string& name : entryPoints) EXPECT_EQ(1u, exported.count(name)) << name;
    for (const std::string& name : exported) {
        // Run-time type data of builtin function types (clang's sanitizers) names no class.
        const bool builtinTypeInfo =
            name.rfind("typeinfo", 0) == 0 && std::none_of(name.begin(), name.end(), [](char c) {
                return std::isupper(static_cast<unsigned char>(c)) != 0;
            });
        const bool standard = name.find("std::") != std::string::npos ||
                              name.rfind("__gnu_cxx::", 0) == 0 ||
                              name.rfind("__odr_asan", 0) == 0 || builtinTypeInfo;
        EXPECT_TRUE(entryPoints.count(name) == 1 || standard) << name;
    }
}

}  // namespace
