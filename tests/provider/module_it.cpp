// The module's exports: registration per machine and per user with exactly the scripted keys and
// values, unregistration, the class objects it serves and DllCanUnloadNow with live objects.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "provider_fixture.h"
#include "win_registry.h"

namespace {

using provider_test::ProviderProcess;

const char16_t kDataSourceKey[] = u"CLSID\\{A023FA6E-8A8B-4ECD-9F3E-4F7D09EDA4E5}";
const char16_t kConnectionKey[] = u"CLSID\\{2BD36F56-97B4-429E-9E39-2F190D1C9C3B}";
const char16_t kAdvancedKey[] = u"CLSID\\{16C31179-EF5F-4634-AD5B-5DAC56FD2EFD}";
const char16_t kLibId[] = u"{0FC245BC-F310-4890-9486-1DCBE08183CF}";
const char16_t* const kProgIds[] = {u"ZelmoProvider.DataSource.1",
                                    u"ZelmoProvider.DataSource",
                                    u"ZelmoProviderLib.ZelmoConnectionDlg.1",
                                    u"ZelmoProviderLib.ZelmoConnectionDlg",
                                    u"ZelmoProviderLib.ZelmoAdvancedDlg.1",
                                    u"ZelmoProviderLib.ZelmoAdvancedDlg"};

// The classes key of one hive: per machine or per user.
std::u16string Classes(const std::u16string& path) { return u"Software\\Classes\\" + path; }

bool KeyExists(HKEY root, const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::u16string> Text(HKEY root, const std::u16string& path,
                                   const char16_t* name = nullptr) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    char16_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(char16_t);
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    std::u16string text(buffer, size / sizeof(char16_t));
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
}

std::optional<DWORD> Dword(HKEY root, const std::u16string& path, const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return value;
}

std::vector<std::u16string> Subkeys(HKEY root, const std::u16string& path) {
    std::vector<std::u16string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char16_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

std::u16string ModulePath() {
    const std::string path = ProviderProcess::Get().ModulePath().string();
    return std::u16string(path.begin(), path.end());
}

// Every key and value of the three scripts under one hive's classes.
void ExpectRegistered(HKEY hive) {
    const std::u16string friendly = u"Tavro Ad-hoc Connector";
    EXPECT_EQ(Text(hive, Classes(u"ZelmoProvider.DataSource.1")), friendly);
    EXPECT_EQ(Text(hive, Classes(u"ZelmoProvider.DataSource.1\\CLSID")),
              u"{A023FA6E-8A8B-4ECD-9F3E-4F7D09EDA4E5}");
    EXPECT_EQ(Text(hive, Classes(u"ZelmoProvider.DataSource")), friendly);
    EXPECT_EQ(Text(hive, Classes(u"ZelmoProvider.DataSource\\CurVer")),
              u"ZelmoProvider.DataSource.1");
    const std::u16string ds = Classes(kDataSourceKey);
    EXPECT_EQ(Text(hive, ds), friendly);
    EXPECT_EQ(Text(hive, ds + u"\\ProgID"), u"ZelmoProvider.DataSource.1");
    EXPECT_EQ(Text(hive, ds + u"\\VersionIndependentProgID"), u"ZelmoProvider.DataSource");
    EXPECT_EQ(Text(hive, ds + u"\\InprocServer32"), ModulePath());
    EXPECT_EQ(Text(hive, ds + u"\\InprocServer32", u"ThreadingModel"), u"Apartment");
    EXPECT_EQ(Text(hive, ds + u"\\OLE DB MD Provider"), friendly);
    EXPECT_EQ(Dword(hive, ds, u"OLEDB_SERVICES"), 0xFFFFFFFFu);
    EXPECT_EQ(Text(hive, ds + u"\\TypeLib"), kLibId);
    EXPECT_EQ(Text(hive, ds + u"\\Version"), u"1.0");
    EXPECT_EQ(Subkeys(hive, ds).size(), 6u);

    struct Page {
        const char16_t* key;
        const char16_t* progId;
        const char16_t* clsid;
        const char16_t* description;
    };
    const Page pages[] = {{kConnectionKey, u"ZelmoProviderLib.ZelmoConnectionDlg",
                           u"{2BD36F56-97B4-429E-9E39-2F190D1C9C3B}", u"ZelmoConnectionDlg Class"},
                          {kAdvancedKey, u"ZelmoProviderLib.ZelmoAdvancedDlg",
                           u"{16C31179-EF5F-4634-AD5B-5DAC56FD2EFD}", u"ZelmoAdvancedDlg Class"}};
    for (const Page& page : pages) {
        const std::u16string progId(page.progId);
        EXPECT_EQ(Text(hive, Classes(progId + u".1")), page.description);
        EXPECT_EQ(Text(hive, Classes(progId + u".1\\CLSID")), page.clsid);
        EXPECT_EQ(Text(hive, Classes(progId)), page.description);
        EXPECT_EQ(Text(hive, Classes(progId + u"\\CurVer")), progId + u".1");
        const std::u16string key = Classes(page.key);
        EXPECT_EQ(Text(hive, key), page.description);
        EXPECT_EQ(Text(hive, key + u"\\ProgID"), progId + u".1");
        EXPECT_EQ(Text(hive, key + u"\\VersionIndependentProgID"), progId);
        EXPECT_EQ(Text(hive, key + u"\\InprocServer32"), ModulePath());
        EXPECT_EQ(Text(hive, key + u"\\InprocServer32", u"ThreadingModel"), u"Apartment");
        EXPECT_EQ(Text(hive, key + u"\\TypeLib"), kLibId);
        EXPECT_EQ(Text(hive, key + u"\\Version"), u"1.0");
        EXPECT_FALSE(KeyExists(hive, key + u"\\OLE DB MD Provider"));
        EXPECT_EQ(Dword(hive, key, u"OLEDB_SERVICES"), std::nullopt);
        EXPECT_EQ(Subkeys(hive, key).size(), 5u);
    }
    // The type library and its two interfaces.
    const std::u16string lib = Classes(u"TypeLib\\" + std::u16string(kLibId) + u"\\1.0");
    EXPECT_TRUE(KeyExists(hive, lib));
    EXPECT_EQ(Text(hive, lib + u"\\0\\win64"), ModulePath());
    EXPECT_EQ(Text(hive, Classes(u"Interface\\{562471D3-2603-4DFF-BCCC-A8D2DA2DFF2B}")),
              u"IGetSelf");
    EXPECT_EQ(Text(hive, Classes(u"Interface\\{5B89B542-E232-451C-B391-780697961060}")),
              u"IExtendCommand");
}

void ExpectNothingRegistered(HKEY hive) {
    for (const char16_t* progId : kProgIds) EXPECT_FALSE(KeyExists(hive, Classes(progId)));
    for (const char16_t* key : {kDataSourceKey, kConnectionKey, kAdvancedKey})
        EXPECT_FALSE(KeyExists(hive, Classes(key)));
    EXPECT_FALSE(KeyExists(hive, Classes(u"TypeLib\\" + std::u16string(kLibId))));
}

// Each test has a registry root of its own, where the module starts registered per machine as
// the process fixture leaves it; the process's root comes back afterwards.
class ModuleTest : public provider_test::ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        root = (ProviderProcess::Get().Folder() / "registry-XXXXXX").string();
        ASSERT_NE(::mkdtemp(root.data()), nullptr);
        ::setenv(COMRT_REGISTRY_ROOT_VARIABLE, root.c_str(), 1);
        ASSERT_EQ(Register(), S_OK);
    }
    void TearDown() override {
        ::setenv(COMRT_REGISTRY_ROOT_VARIABLE, ProviderProcess::Get().RegistryRoot().c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    template <class Function>
    static Function* Export(const char* name) {
        return ProviderProcess::Get().Export<Function>(name);
    }
    static HRESULT Register() { return Export<HRESULT()>("DllRegisterServer")(); }
    static HRESULT Unregister() { return Export<HRESULT()>("DllUnregisterServer")(); }
    static HRESULT Install(BOOL install, LPCWSTR commandLine) {
        return Export<HRESULT(BOOL, LPCWSTR)>("DllInstall")(install, commandLine);
    }
    static HRESULT CanUnloadNow() { return Export<HRESULT()>("DllCanUnloadNow")(); }

    std::string root;
};

TEST_F(ModuleTest, RegistersEveryScriptedEntryPerMachine) {
    // The fixture has registered the module through DllRegisterServer.
    ExpectRegistered(HKEY_LOCAL_MACHINE);
    ExpectNothingRegistered(HKEY_CURRENT_USER);
    // The module's own script writes nothing, though "APPID" is replaced in it.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Classes(u"AppID")));
    EXPECT_EQ(Register(), S_OK);
    ExpectRegistered(HKEY_LOCAL_MACHINE);
}

TEST_F(ModuleTest, UnregisterLeavesTheClsidKeyAndRemovesClassesAndProgIds) {
    ASSERT_EQ(Unregister(), S_OK);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Classes(u"CLSID")));
    ExpectNothingRegistered(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                           Classes(u"Interface\\{562471D3-2603-4DFF-BCCC-A8D2DA2DFF2B}")));
    // Unknown to the registry now.
    CComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(CLSID_ZelmoData, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
}

// Ends a death test's child, its failures written to stderr, where the parent shows them.
[[noreturn]] void ExitWithTheFailures() {
    const ::testing::TestResult& result =
        *::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result.total_part_count(); ++i) {
        const ::testing::TestPartResult& part = result.GetTestPartResult(i);
        std::fprintf(stderr, "%s:%d: %s\n", part.file_name() != nullptr ? part.file_name() : "",
                     part.line_number(), part.message());
    }
    std::exit(result.Failed() ? 1 : 0);
}

class ModulePerUserTest : public ModuleTest, public ::testing::WithParamInterface<const char16_t*> {
  protected:
    static void RegisterPerUserAndBack(const char16_t* commandLine);
};

// "user" turns the module to per-user registration for the rest of its life, so each case runs
// in a fresh process of its own and leaves the module of this one as it was.
TEST_P(ModulePerUserTest, UserInAnyCaseRegistersUnderTheCurrentUser) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            RegisterPerUserAndBack(GetParam());
            ExitWithTheFailures();
        },
        ::testing::ExitedWithCode(0), "");
}

void ModulePerUserTest::RegisterPerUserAndBack(const char16_t* commandLine) {
    ASSERT_EQ(Unregister(), S_OK);
    ASSERT_EQ(Install(TRUE, commandLine), S_OK);
    ExpectRegistered(HKEY_CURRENT_USER);
    ExpectNothingRegistered(HKEY_LOCAL_MACHINE);
    // Found through the merged classes view as well.
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(u"ZelmoProvider.DataSource", &clsid), S_OK);
    EXPECT_TRUE(clsid == CLSID_ZelmoData);
    ASSERT_EQ(Install(FALSE, commandLine), S_OK);
    ExpectNothingRegistered(HKEY_CURRENT_USER);
}
INSTANTIATE_TEST_SUITE_P(Cases, ModulePerUserTest, ::testing::Values(u"user", u"USER", u"User"));

class ModulePerMachineTest : public ModuleTest,
                             public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(ModulePerMachineTest, OtherCommandLinesRegisterForTheMachine) {
    ASSERT_EQ(Unregister(), S_OK);
    ASSERT_EQ(Install(TRUE, GetParam()), S_OK);
    ExpectRegistered(HKEY_LOCAL_MACHINE);
    ExpectNothingRegistered(HKEY_CURRENT_USER);
    ASSERT_EQ(Install(FALSE, GetParam()), S_OK);
    ExpectNothingRegistered(HKEY_LOCAL_MACHINE);
}
INSTANTIATE_TEST_SUITE_P(Cases, ModulePerMachineTest,
                         ::testing::Values(nullptr, u"users", u"use", u"", u"machine"));

TEST_F(ModuleTest, ServesExactlyTheThreeClassObjects) {
    auto* getClassObject = Export<HRESULT(REFCLSID, REFIID, LPVOID*)>("DllGetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    for (const CLSID* clsid :
         {&CLSID_ZelmoData, &CLSID_ZelmoConnectionDlg, &CLSID_ZelmoAdvancedDlg}) {
        CComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject(*clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        EXPECT_TRUE(factory);
    }
    for (const GUID* other :
         {&LIBID_ZelmoProviderLib, &APPID_ZelmoProvider, &IID_IGetSelf, &CLSID_NULL}) {
        void* factory = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(getClassObject(*other, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(factory, nullptr);
    }
    EXPECT_EQ(getClassObject(CLSID_ZelmoData, IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(ModuleTest, CreatesEachClassByProgIdWithTheRightIdentity) {
    struct Case {
        const char16_t* progId;
        const CLSID* clsid;
    };
    const Case cases[] = {{u"ZelmoProvider.DataSource.1", &CLSID_ZelmoData},
                          {u"ZelmoProviderLib.ZelmoConnectionDlg.1", &CLSID_ZelmoConnectionDlg},
                          {u"ZelmoProviderLib.ZelmoAdvancedDlg", &CLSID_ZelmoAdvancedDlg}};
    for (const Case& c : cases) {
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(c.progId, &clsid), S_OK);
        ASSERT_TRUE(clsid == *c.clsid);
        CComPtr<IPersist> persist;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersist,
                                   reinterpret_cast<void**>(&persist)),
                  S_OK);
        CLSID reported{};
        ASSERT_EQ(persist->GetClassID(&reported), S_OK);
        EXPECT_TRUE(reported == *c.clsid);
    }
}

// A minimal outer object for aggregation.
class Outer : public IUnknown {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner != nullptr ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++count; }
    STDMETHOD_(ULONG, Release)() override { return --count; }

    ULONG count = 1;
    IUnknown* inner = nullptr;
};

TEST_F(ModuleTest, DataSourceCanBeAggregatedOnlyThroughItsInnerUnknown) {
    Outer outer;
    IUnknown* refused = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ZelmoData, &outer, CLSCTX_INPROC_SERVER, IID_IDBInitialize,
                               reinterpret_cast<void**>(&refused)),
              CLASS_E_NOAGGREGATION);
    ASSERT_EQ(CoCreateInstance(CLSID_ZelmoData, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    IDBInitialize* initialize = nullptr;
    ASSERT_EQ(outer.inner->QueryInterface(IID_IDBInitialize, reinterpret_cast<void**>(&initialize)),
              S_OK);
    EXPECT_EQ(outer.count, 2u);  // the aggregated object counts on the outer unknown
    IUnknown* identity = nullptr;
    ASSERT_EQ(initialize->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, &outer);
    identity->Release();
    initialize->Release();
    outer.inner->Release();
    outer.inner = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST_F(ModuleTest, CanUnloadNowOnlyWithoutLiveObjectsOrLocks) {
    EXPECT_EQ(CanUnloadNow(), S_OK);
    CComPtr<IDBInitialize> dataSource = InitializedDataSource();
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    CComPtr<IUnknown> session = OpenSession(dataSource);
    dataSource.Release();
    EXPECT_EQ(CanUnloadNow(), S_FALSE);  // the session holds its data source
    session.Release();
    EXPECT_EQ(CanUnloadNow(), S_OK);

    CComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_ZelmoAdvancedDlg, CLSCTX_INPROC_SERVER, nullptr,
                               IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(CanUnloadNow(), S_FALSE);  // a factory held by the consumer
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Release();
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    ASSERT_EQ(CoGetClassObject(CLSID_ZelmoAdvancedDlg, CLSCTX_INPROC_SERVER, nullptr,
                               IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Release();
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

}  // namespace
