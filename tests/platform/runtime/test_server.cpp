// A tiny in-process server for the class lookup and resource tests: a class factory and one
// object written by hand, a resource table and a version block.
#include <atomic>

#include "module_resources.h"
#include "test_server_interface.h"

namespace {

std::atomic<LONG> liveObjects{0};
std::atomic<LONG> loads{0};

struct LoadCounter {
    LoadCounter() { ++loads; }
} loadCounter;

class TestThing : public ITestValue {
  public:
    TestThing() { ++liveObjects; }
    virtual ~TestThing() { --liveObjects; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ITestValue) {
            *ppvObject = static_cast<ITestValue*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetValue(LONG* value) override {
        if (value == nullptr) return E_POINTER;
        *value = kTestThingValue;
        return S_OK;
    }

  private:
    std::atomic<ULONG> references_{0};
};

class TestFactory : public IClassFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppvObject = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static: its count is not tracked.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        *ppvObject = nullptr;
        if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
        auto* thing = new TestThing();
        thing->AddRef();
        const HRESULT hr = thing->QueryInterface(riid, ppvObject);
        thing->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

TestFactory factory;

const ComrtStringResource kStrings[] = {
    {kTestStringHello, u"Hello, world"},
    {kTestStringSecond, u"Second"},
};
const char kScript[] = "HKCR { NoRemove CLSID }";
const BYTE kDialog[] = {1, 2, 3, 4};
const ComrtBinaryResource kResources[] = {
    {0, u"REGISTRY", kTestRegistryScript, kScript, sizeof(kScript) - 1},
    {5, nullptr, kTestDialog, kDialog, sizeof(kDialog)},
};
const VS_FIXEDFILEINFO kVersion = {
    VS_FFI_SIGNATURE,
    VS_FFI_STRUCVERSION,
    0x00010002,
    0x00030004,
    0x00050006,
    0x00070008,
    0x3F,
    0,
    VOS_NT_WINDOWS32,
    VFT_DLL,
    0,
    0,
    0,
};

}  // namespace

extern "C" __attribute__((visibility("hidden"), used))
const ComrtResourceTable ComrtModuleResources = {
    kStrings, sizeof(kStrings) / sizeof(kStrings[0]), kResources,
    sizeof(kResources) / sizeof(kResources[0]), &kVersion};
COMRT_RESOURCE_NOTE(ComrtModuleResources);

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid,
                                                                            REFIID riid,
                                                                            LPVOID* ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_TestThing) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) LONG TestServerLiveObjects() {
    return liveObjects;
}

extern "C" __attribute__((visibility("default"))) LONG TestServerLoads() { return loads; }
