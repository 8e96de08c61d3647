// A small in-process server built on the framework, as the provider module is: two classes in
// an object map, registry scripts and a type library description in its resource table.
#include "atl_com.h"
#include "module_resource_table.h"
#include "test_server_helper_rgs.h"
#include "test_server_interfaces.h"

namespace {

class TestServerObject : public CComObjectRootEx<CComSingleThreadModel>,
                         public CComCoClass<TestServerObject, &CLSID_TestServerObject>,
                         public ITestServer,
                         public IPersistImpl<TestServerObject> {
  public:
    DECLARE_REGISTRY_RESOURCEID(201)

    BEGIN_COM_MAP(TestServerObject)
    COM_INTERFACE_ENTRY(ITestServer)
    COM_INTERFACE_ENTRY(IPersist)
    END_COM_MAP()

    STDMETHOD(Twice)(LONG value, LONG* result) override {
        if (result == nullptr) return E_POINTER;
        *result = value * 2;
        return S_OK;
    }
};

class TestServerHelper : public CComObjectRootEx<CComSingleThreadModel>,
                         public CComCoClass<TestServerHelper, &CLSID_TestServerHelper>,
                         public IPersistImpl<TestServerHelper> {
  public:
    DECLARE_NOT_AGGREGATABLE(TestServerHelper)

    // Two scripts: the class key, and its ProgID from a file embedded at build time.
    static HRESULT UpdateRegistry(BOOL bRegister) {
        HRESULT hr = _pAtlModule->UpdateRegistryFromResource(202, bRegister);
        if (SUCCEEDED(hr)) hr = _pAtlModule->UpdateRegistryFromResource(203, bRegister);
        return hr;
    }

    BEGIN_COM_MAP(TestServerHelper)
    COM_INTERFACE_ENTRY(IPersist)
    END_COM_MAP()
};

class TestServerModule : public CAtlDllModuleT<TestServerModule> {
  public:
    DECLARE_LIBID(LIBID_TestServerLib)
    DECLARE_REGISTRY_APPID_RESOURCEID(200, TEST_SERVER_APPID)
};

TestServerModule theModule;

OBJECT_ENTRY_AUTO(CLSID_TestServerObject, TestServerObject)
OBJECT_ENTRY_AUTO(CLSID_TestServerHelper, TestServerHelper)

const char kAppIdScript[] =
    "HKCR\n{\n\tNoRemove AppID\n\t{\n\t\t'%APPID%' = s 'TestServer'\n\t}\n}\n";

const char kObjectScript[] = R"(HKCR
{
	TestServer.Object.1 = s 'TestServer Object'
	{
		CLSID = s '{5D8C1E40-6F7A-4B8C-9D0E-212223242501}'
	}
	TestServer.Object = s 'TestServer Object'
	{
		CurVer = s 'TestServer.Object.1'
	}
	NoRemove CLSID
	{
		ForceRemove {5D8C1E40-6F7A-4B8C-9D0E-212223242501} = s 'TestServer Object'
		{
			ProgID = s 'TestServer.Object.1'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			val AppID = s '%APPID%'
			TypeLib = s '{5D8C1E40-6F7A-4B8C-9D0E-2122232425FF}'
			Version = s '1.0'
		}
	}
}
)";

// UTF-16, as a module may also store its scripts.
const char16_t kHelperScript[] =
    uR"(HKCR
{
	NoRemove CLSID
	{
		ForceRemove {5D8C1E40-6F7A-4B8C-9D0E-212223242502} = s 'TestServer Helper'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
		}
	}
}
)";

const TypeLibInterface kInterfaces[] = {{&IID_ITestServer, u"ITestServer"}};
const TypeLibCoClass kCoClasses[] = {{&CLSID_TestServerObject, u"TestServerObject"},
                                     {&CLSID_TestServerHelper, u"TestServerHelper"}};
const TypeLibDescription kTypeLib = {kTypeLibSignature,
                                     &LIBID_TestServerLib,
                                     u"TestServerLib",
                                     u"TestServer 1.0 Type Library",
                                     1,
                                     0,
                                     0,
                                     0,
                                     kInterfaces,
                                     ComrtCountOf(kInterfaces),
                                     kCoClasses,
                                     ComrtCountOf(kCoClasses)};

const ComrtStringResource kStrings[] = {MODULE_STRING(100, "Test server")};
const ComrtBinaryResource kResources[] = {
    MODULE_REGISTRY_SCRIPT(200, kAppIdScript), MODULE_REGISTRY_SCRIPT(201, kObjectScript),
    MODULE_REGISTRY_SCRIPT(202, kHelperScript), MODULE_REGISTRY_SCRIPT(203, kHelperScriptFile),
    MODULE_TYPELIB(1, kTypeLib)};
constexpr VS_FIXEDFILEINFO kVersion = MakeFixedFileInfo(1, 0, 1, 1);

}  // namespace

COMRT_DEFINE_MODULE_RESOURCES(kStrings, kResources, &kVersion)

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    return theModule.DllGetClassObject(rclsid, riid, ppv);
}
STDAPI DllCanUnloadNow() { return theModule.DllCanUnloadNow(); }
STDAPI DllRegisterServer() { return theModule.DllRegisterServer(); }
STDAPI DllUnregisterServer() { return theModule.DllUnregisterServer(); }

// "user" (any case) registers under the current user's classes.
STDAPI DllInstall(BOOL bInstall, LPCWSTR pszCmdLine) {
    const char16_t kUser[] = u"user";
    bool perUser = pszCmdLine != nullptr;
    for (int i = 0; perUser && i < 5; ++i) {
        const char16_t c = pszCmdLine[i];
        perUser = (c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c) == kUser[i];
    }
    AtlSetPerUserRegistration(perUser);
    if (!bInstall) return DllUnregisterServer();
    const HRESULT hr = DllRegisterServer();
    if (FAILED(hr)) DllUnregisterServer();
    return hr;
}

// For the tests only: the module's own idea of its handle.
COMRT_API HINSTANCE TestServerModuleInstance() { return GetThisModuleInstance(); }
