// Tests of class lookup through the registry: CoGetClassObject, CoCreateInstance and the
// CoInitialize count, with the hand-written test server module.
#include <gtest/gtest.h>
#include <dlfcn.h>

#include <fstream>
#include <string>
#include <thread>

#include "com_runtime.h"
#include "counting_unknown.h"
#include "scratch_registry.h"
#include "test_server_interface.h"
#include "win_registry.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

void RegisterServer(HKEY hive, REFCLSID clsid, const std::string& modulePath, DWORD type = REG_SZ) {
    OLECHAR text[39];
    ASSERT_EQ(StringFromGUID2(clsid, text, 39), 39);
    const std::u16string path =
        u"Software\\Classes\\CLSID\\" + std::u16string(text) + u"\\InprocServer32";
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const std::u16string value = Wide(modulePath);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * 2)),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

LONG ServerCount(const char* function) {
    void* module = ::dlopen(COMRT_TEST_SERVER_PATH, RTLD_LAZY | RTLD_NOLOAD);
    if (module == nullptr) return -1;
    auto count = reinterpret_cast<TestServerCountFunction>(::dlsym(module, function));
    const LONG result = count == nullptr ? -1 : count();
    ::dlclose(module);
    return result;
}

std::string RuntimePath() {
    Dl_info info{};
    ::dladdr(reinterpret_cast<void*>(&CoTaskMemAlloc), &info);
    return info.dli_fname;
}

class ClassLookupTest : public ::testing::Test {
  protected:
    ScratchRegistry registry;
};

TEST_F(ClassLookupTest, CreatesObjectOfRegisteredServerAndLoadsItOnce) {
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, COMRT_TEST_SERVER_PATH);
    ITestValue* thing = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_ITestValue,
                               reinterpret_cast<void**>(&thing)),
              S_OK);
    ASSERT_NE(thing, nullptr);
    LONG value = 0;
    EXPECT_EQ(thing->GetValue(&value), S_OK);
    EXPECT_EQ(value, kTestThingValue);
    EXPECT_EQ(ServerCount("TestServerLiveObjects"), 1);
    EXPECT_EQ(thing->Release(), 0u);
    EXPECT_EQ(ServerCount("TestServerLiveObjects"), 0);

    IClassFactory* first = nullptr;
    IClassFactory* second = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_TestThing, CLSCTX_ALL, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&first)),
              S_OK);
    ASSERT_EQ(CoGetClassObject(CLSID_TestThing, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&second)),
              S_OK);
    EXPECT_EQ(first, second);
    first->Release();
    second->Release();
    EXPECT_EQ(ServerCount("TestServerLoads"), 1);
}

TEST_F(ClassLookupTest, UserRegistrationComesFirst) {
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, "/nonexistent/machine.so");
    RegisterServer(HKEY_CURRENT_USER, CLSID_TestThing, COMRT_TEST_SERVER_PATH);
    IUnknown* thing = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&thing)),
              S_OK);
    thing->Release();
}

TEST_F(ClassLookupTest, ExpandableModulePathUsesTheEnvironment) {
    const std::string path = COMRT_TEST_SERVER_PATH;
    const std::size_t slash = path.rfind('/');
    ::setenv("COMRT_TEST_SERVER_DIR", path.substr(0, slash).c_str(), 1);
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing,
                   "%COMRT_TEST_SERVER_DIR%" + path.substr(slash), REG_EXPAND_SZ);
    IUnknown* thing = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&thing)),
              S_OK);
    thing->Release();
    // Only REG_EXPAND_SZ is expanded; text with an unknown name is taken as it is.
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing,
                   "%COMRT_TEST_SERVER_DIR%" + path.substr(slash), REG_SZ);
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&thing)),
              CO_E_DLLNOTFOUND);
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, "%NO_SUCH_VARIABLE_X%/x.so", REG_EXPAND_SZ);
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&thing)),
              CO_E_DLLNOTFOUND);
    ::unsetenv("COMRT_TEST_SERVER_DIR");
}

TEST_F(ClassLookupTest, RegistrationFaults) {
    IUnknown* object = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    // A class key without InprocServer32 is not registered for in-process use.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, u"CLSID\\{7D1C8A52-2F4E-4B8A-9C31-5E607A1B2201}",
                              0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);

    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, registry.Root() + "/missing.so");
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CO_E_DLLNOTFOUND);

    const std::string notElf = registry.Root() + "/text.so";
    std::ofstream(notElf) << "not a module";
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, notElf);
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CO_E_ERRORINDLL);

    // A module without DllGetClassObject: the runtime itself.
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, RuntimePath());
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CO_E_ERRORINDLL);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ClassLookupTest, ServerAnswersPassThrough) {
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestThing, COMRT_TEST_SERVER_PATH);
    RegisterServer(HKEY_LOCAL_MACHINE, CLSID_TestUnserved, COMRT_TEST_SERVER_PATH);
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestUnserved, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory,
                               reinterpret_cast<void**>(&object)),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    CountingUnknown outer;
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(ServerCount("TestServerLiveObjects"), 0);
    // Only in-process servers exist.
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
        E_POINTER);
    EXPECT_EQ(CoGetClassObject(CLSID_TestThing, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               nullptr),
              E_INVALIDARG);
}

TEST(CoInitializeTest, CountsPerThreadAndKeepsTheMode) {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    std::thread other([] {
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    });
    other.join();
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    // Fully uninitialised, the thread may choose another mode.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
    CoUninitialize();  // one too many is harmless
    EXPECT_EQ(CoInitializeEx(reinterpret_cast<void*>(1), COINIT_MULTITHREADED), E_INVALIDARG);
}

}  // namespace
