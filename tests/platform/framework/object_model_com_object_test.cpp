// Object model: reference counts, identity, interface maps, aggregation, construction failures,
// the module lock count and the object map's class factories.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "atl_com.h"
#include "object_model_test_types.h"

namespace {

class TestModule : public CAtlDllModuleT<TestModule> {};
TestModule theModule;

COMRT_GUID(CLSID_TestWidget, 0x7b2e4d20, 0x2c3d, 0x4e5f, 0x90, 0xa1, 0x11, 0x12, 0x13, 0x14, 0x15,
           0x16);
COMRT_GUID(CLSID_TestSolo, 0x7b2e4d21, 0x2c3d, 0x4e5f, 0x90, 0xa1, 0x11, 0x12, 0x13, 0x14, 0x15,
           0x16);

class CreatableWidget : public Widget, public CComCoClass<CreatableWidget, &CLSID_TestWidget> {
  public:
    DECLARE_NO_REGISTRY()
};

class SoloWidget : public Widget, public CComCoClass<SoloWidget, &CLSID_TestSolo> {
  public:
    DECLARE_NOT_AGGREGATABLE(SoloWidget)
    DECLARE_NO_REGISTRY()
};

OBJECT_ENTRY_AUTO(CLSID_TestWidget, CreatableWidget)
OBJECT_ENTRY_AUTO(CLSID_TestSolo, SoloWidget)

// A class whose FinalConstruct hands out and drops a reference to itself.
class SelfReferencing : public CComObjectRootEx<CComSingleThreadModel>, public ITestFoo {
  public:
    BEGIN_COM_MAP(SelfReferencing)
    COM_INTERFACE_ENTRY(ITestFoo)
    END_COM_MAP()
    DECLARE_PROTECT_FINAL_CONSTRUCT()

    HRESULT FinalConstruct() {
        ITestFoo* foo = nullptr;
        HRESULT hr = GetUnknown()->QueryInterface(IID_ITestFoo, reinterpret_cast<void**>(&foo));
        if (SUCCEEDED(hr)) foo->Release();
        return hr;
    }
    STDMETHOD_(int, Foo)() override { return 7; }
};

// ITestBaz derives from ITestFoo: ITestFoo is reached through it.
class Derived : public CComObjectRootEx<CComMultiThreadModel>, public ITestBaz, public ITestBar {
  public:
    BEGIN_COM_MAP(Derived)
    COM_INTERFACE_ENTRY(ITestBaz)
    COM_INTERFACE_ENTRY2(ITestFoo, ITestBaz)
    COM_INTERFACE_ENTRY_IID(IID_ITestBar, ITestBar)
    END_COM_MAP()

    STDMETHOD_(int, Foo)() override { return 10; }
    STDMETHOD_(int, Baz)() override { return 30; }
    STDMETHOD_(int, Bar)() override { return 20; }
};

// Adds nothing of its own but chains to Derived's map.
class Chained : public Derived, public IPersistImpl<Chained> {
  public:
    BEGIN_COM_MAP(Chained)
    COM_INTERFACE_ENTRY(IPersist)
    COM_INTERFACE_ENTRY_CHAIN(Derived)
    END_COM_MAP()
    static const CLSID& GetObjectCLSID() { return CLSID_TestWidget; }
};

template <class I>
I* Query(IUnknown* unknown, REFIID iid) {
    I* result = nullptr;
    EXPECT_EQ(S_OK, unknown->QueryInterface(iid, reinterpret_cast<void**>(&result)));
    return result;
}

IUnknown* Identity(IUnknown* unknown) {
    IUnknown* identity = nullptr;
    if (FAILED(unknown->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        return nullptr;
    identity->Release();
    return identity;
}

class ObjectModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheWidgetLog() = WidgetLog();
        ASSERT_EQ(0, theModule.GetLockCount());
    }
    void TearDown() override {
        EXPECT_EQ(TheWidgetLog().constructed, TheWidgetLog().destroyed);
        EXPECT_EQ(0, theModule.GetLockCount());
    }
};

TEST_F(ObjectModelTest, NewObjectStartsAtZeroAndDiesWithItsLastRelease) {
    CComObject<Widget>* widget = nullptr;
    ASSERT_EQ(S_OK, CComObject<Widget>::CreateInstance(&widget));
    EXPECT_EQ(0, widget->m_dwRef);
    EXPECT_EQ(1u, widget->AddRef());
    auto* bar = Query<ITestBar>(widget->GetUnknown(), IID_ITestBar);
    EXPECT_EQ(2, widget->m_dwRef);
    EXPECT_EQ(2, bar->Bar());
    EXPECT_EQ(1u, bar->Release());
    EXPECT_EQ(0, TheWidgetLog().destroyed);
    EXPECT_EQ(0u, widget->Release());
    EXPECT_EQ(1, TheWidgetLog().destroyed);
    EXPECT_EQ(1, TheWidgetLog().finalReleases);
}

TEST_F(ObjectModelTest, EveryInterfaceAnswersTheSameIdentity) {
    CComPtr<ITestFoo> foo;
    ASSERT_EQ(S_OK, CreatableWidget::CreateInstance(&foo));
    CComPtr<ITestBar> bar;
    ASSERT_EQ(S_OK, foo.QueryInterface(&bar));
    EXPECT_NE(static_cast<void*>(foo.p), static_cast<void*>(bar.p));
    EXPECT_EQ(Identity(foo), Identity(bar));
    EXPECT_EQ(static_cast<void*>(Identity(foo)), static_cast<void*>(foo.p));  // the first entry
}

TEST_F(ObjectModelTest, QueryInterfaceRefusals) {
    CComPtr<ITestFoo> foo;
    ASSERT_EQ(S_OK, CreatableWidget::CreateInstance(&foo));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, foo->QueryInterface(IID_IPersist, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, foo->QueryInterface(IID_ITestFoo, nullptr));
    EXPECT_EQ(E_NOINTERFACE, foo->QueryInterface(IID_NULL, &out));
}

TEST_F(ObjectModelTest, FailedFinalConstructDeletesTheObjectAndUnlocksTheModule) {
    TheWidgetLog().failFinalConstructWith = E_ACCESSDENIED;
    auto* widget = reinterpret_cast<CComObject<Widget>*>(1);
    EXPECT_EQ(E_ACCESSDENIED, CComObject<Widget>::CreateInstance(&widget));
    EXPECT_EQ(nullptr, widget);
    EXPECT_EQ(1, TheWidgetLog().destroyed);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_ACCESSDENIED,
              CComCreator<CComObject<Widget>>::CreateInstance(nullptr, IID_ITestFoo, &out));
    EXPECT_EQ(nullptr, out);
    TestOuter outer;
    EXPECT_EQ(E_ACCESSDENIED,
              CComCreator<CComAggObject<Widget>>::CreateInstance(&outer, IID_IUnknown, &out));
    EXPECT_EQ(E_ACCESSDENIED,
              CComCreator<CComPolyObject<Widget>>::CreateInstance(nullptr, IID_IUnknown, &out));
    EXPECT_EQ(4, TheWidgetLog().destroyed);
    EXPECT_EQ(1u, outer.refs);
}

TEST_F(ObjectModelTest, CreatorReleasesTheObjectWhenTheInterfaceIsMissing) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE,
              CComCreator<CComObject<Widget>>::CreateInstance(nullptr, IID_IPersist, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(1, TheWidgetLog().destroyed);
}

TEST_F(ObjectModelTest, ProtectedFinalConstructSurvivesItsOwnRelease) {
    CComPtr<ITestFoo> foo;
    ASSERT_EQ(S_OK, CComCreator<CComObject<SelfReferencing>>::CreateInstance(
                        nullptr, IID_ITestFoo, reinterpret_cast<void**>(&foo)));
    EXPECT_EQ(7, foo->Foo());
}

TEST_F(ObjectModelTest, LiveObjectsLockTheModule) {
    EXPECT_EQ(S_OK, theModule.DllCanUnloadNow());
    CComPtr<ITestFoo> first;
    CComPtr<ITestFoo> second;
    ASSERT_EQ(S_OK, CreatableWidget::CreateInstance(&first));
    ASSERT_EQ(S_OK, CreatableWidget::CreateInstance(&second));
    EXPECT_EQ(2, theModule.GetLockCount());
    EXPECT_EQ(S_FALSE, theModule.DllCanUnloadNow());
    first.Release();
    EXPECT_EQ(S_FALSE, theModule.DllCanUnloadNow());
    second.Release();
    EXPECT_EQ(S_OK, theModule.DllCanUnloadNow());
}

TEST_F(ObjectModelTest, InterfaceMapEntriesCastThroughTheNamedBase) {
    CComPtr<ITestBaz> baz;
    ASSERT_EQ(S_OK, CComCreator<CComObject<Derived>>::CreateInstance(
                        nullptr, IID_ITestBaz, reinterpret_cast<void**>(&baz)));
    CComPtr<ITestFoo> foo;
    ASSERT_EQ(S_OK, baz.QueryInterface(&foo));
    EXPECT_EQ(static_cast<void*>(static_cast<ITestFoo*>(baz.p)), static_cast<void*>(foo.p));
    CComQIPtr<ITestBar> bar(baz);
    ASSERT_TRUE(bar);
    EXPECT_EQ(20, bar->Bar());
}

TEST_F(ObjectModelTest, ChainedMapAnswersItsOwnEntriesThenTheBaseMap) {
    CComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, CComCreator<CComObject<Chained>>::CreateInstance(
                        nullptr, IID_IPersist, reinterpret_cast<void**>(&persist)));
    CLSID clsid = GUID_NULL;
    EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
    EXPECT_EQ(CLSID_TestWidget, clsid);
    EXPECT_EQ(E_POINTER, persist->GetClassID(nullptr));
    CComQIPtr<ITestBar> bar(persist);
    ASSERT_TRUE(bar);
    CComQIPtr<ITestBaz> baz(persist);
    ASSERT_TRUE(baz);
    EXPECT_EQ(30, baz->Baz());
    EXPECT_EQ(static_cast<void*>(Identity(bar)), static_cast<void*>(persist.p));
    void* out = nullptr;
    EXPECT_EQ(E_NOINTERFACE, persist->QueryInterface(IID_IClassFactory, &out));
}

TEST_F(ObjectModelTest, AggregatedObjectDelegatesToTheOuterUnknown) {
    TestOuter outer;
    ASSERT_EQ(S_OK, CComCreator<CComAggObject<Widget>>::CreateInstance(
                        &outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    EXPECT_EQ(1u, outer.refs);
    // The inner unknown answers IID_IUnknown with itself, not with the outer.
    auto* innerIdentity = Query<IUnknown>(outer.inner, IID_IUnknown);
    EXPECT_EQ(outer.inner, innerIdentity);
    EXPECT_EQ(1u, innerIdentity->Release());
    // Interfaces from the inner count on the outer and answer the outer's identity.
    auto* foo = Query<ITestFoo>(outer.inner, IID_ITestFoo);
    EXPECT_EQ(2u, outer.refs);
    EXPECT_EQ(static_cast<IUnknown*>(&outer), Query<IUnknown>(foo, IID_IUnknown));
    EXPECT_EQ(3u, outer.refs);
    outer.Release();
    auto* bar = Query<ITestBar>(foo, IID_ITestBar);  // through the outer, back into the inner
    EXPECT_EQ(3u, outer.refs);
    bar->Release();
    foo->Release();
    EXPECT_EQ(1u, outer.refs);
    EXPECT_EQ(0, TheWidgetLog().destroyed);
    EXPECT_EQ(1, theModule.GetLockCount());
    EXPECT_EQ(0u, outer.inner->Release());
    EXPECT_EQ(1, TheWidgetLog().destroyed);
}

TEST_F(ObjectModelTest, AggregationIsRefusedForAnythingButTheInnerUnknown) {
    TestOuter outer;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              CComCreator<CComAggObject<Widget>>::CreateInstance(&outer, IID_ITestFoo, &out));
    EXPECT_EQ(nullptr, out);
    CComAggObject<Widget>* agg = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CComAggObject<Widget>::CreateInstance(nullptr, &agg));
    EXPECT_EQ(0, TheWidgetLog().constructed);
    EXPECT_EQ(1u, outer.refs);
}

TEST_F(ObjectModelTest, PolyObjectStandsAloneWithItsOwnCount) {
    CComPolyObject<Widget>* poly = nullptr;
    ASSERT_EQ(S_OK, CComPolyObject<Widget>::CreateInstance(nullptr, &poly));
    poly->AddRef();
    auto* foo = Query<ITestFoo>(poly, IID_ITestFoo);
    EXPECT_EQ(2, poly->m_dwRef);
    EXPECT_EQ(static_cast<IUnknown*>(poly), Identity(foo));
    EXPECT_EQ(static_cast<IUnknown*>(poly), poly->m_contained.GetControllingUnknown());
    foo->Release();
    EXPECT_EQ(0u, poly->Release());
    EXPECT_EQ(1, TheWidgetLog().destroyed);
}

TEST_F(ObjectModelTest, PolyObjectAggregatesUnderAnOuter) {
    TestOuter outer;
    CComPolyObject<Widget>* poly = nullptr;
    ASSERT_EQ(S_OK, CComPolyObject<Widget>::CreateInstance(&outer, &poly));
    outer.inner = poly;
    poly->AddRef();
    auto* bar = Query<ITestBar>(poly, IID_ITestBar);
    EXPECT_EQ(1, poly->m_dwRef);
    EXPECT_EQ(2u, outer.refs);
    EXPECT_EQ(static_cast<IUnknown*>(&outer), Identity(bar));
    EXPECT_EQ(static_cast<IUnknown*>(poly), Query<IUnknown>(poly, IID_IUnknown));
    poly->Release();
    bar->Release();
    EXPECT_EQ(0u, poly->Release());
    EXPECT_EQ(1, TheWidgetLog().destroyed);
}

TEST_F(ObjectModelTest, CachedObjectLocksTheModuleOnlyBeyondItsFirstReference) {
    CComObjectCached<Widget>* cached = nullptr;
    ASSERT_EQ(S_OK, CComObjectCached<Widget>::CreateInstance(&cached));
    cached->AddRef();
    EXPECT_EQ(0, theModule.GetLockCount());
    cached->AddRef();
    EXPECT_EQ(1, theModule.GetLockCount());
    cached->Release();
    EXPECT_EQ(0, theModule.GetLockCount());
    cached->Release();
    EXPECT_EQ(1, TheWidgetLog().destroyed);

    CComObjectNoLock<Widget>* unlocked = nullptr;
    ASSERT_EQ(S_OK, CComObjectNoLock<Widget>::CreateInstance(&unlocked));
    unlocked->AddRef();
    EXPECT_EQ(0, theModule.GetLockCount());
    unlocked->Release();
}

TEST_F(ObjectModelTest, ClassObjectsComeFromTheObjectMap) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              theModule.DllGetClassObject(IID_ITestFoo, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, theModule.DllGetClassObject(CLSID_TestWidget, IID_IClassFactory, nullptr));

    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, theModule.DllGetClassObject(CLSID_TestWidget, IID_IClassFactory,
                                                reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_FALSE, theModule.DllCanUnloadNow());  // a factory reference locks the module
    CComPtr<IClassFactory> again;
    ASSERT_EQ(S_OK, theModule.DllGetClassObject(CLSID_TestWidget, IID_IClassFactory,
                                                reinterpret_cast<void**>(&again)));
    EXPECT_EQ(factory.p, again.p);  // cached
    again.Release();

    CComPtr<ITestBar> bar;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_ITestBar, reinterpret_cast<void**>(&bar)));
    EXPECT_EQ(2, bar->Bar());
    bar.Release();

    TestOuter outer;
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(&outer, IID_ITestFoo, reinterpret_cast<void**>(&out)));
    EXPECT_EQ(nullptr, out);
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown,
                                            reinterpret_cast<void**>(&outer.inner)));
    EXPECT_EQ(0u, outer.inner->Release());

    factory.Release();
    EXPECT_EQ(S_OK, theModule.DllCanUnloadNow());
}

TEST_F(ObjectModelTest, FactoryLockServerHoldsTheModule) {
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, theModule.DllGetClassObject(CLSID_TestSolo, IID_IClassFactory,
                                                reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Release();
    EXPECT_EQ(S_FALSE, theModule.DllCanUnloadNow());
    ASSERT_EQ(S_OK, theModule.DllGetClassObject(CLSID_TestSolo, IID_IClassFactory,
                                                reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    factory.Release();
    EXPECT_EQ(S_OK, theModule.DllCanUnloadNow());
}

TEST_F(ObjectModelTest, NotAggregatableClassRefusesAnOuter) {
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, theModule.DllGetClassObject(CLSID_TestSolo, IID_IClassFactory,
                                                reinterpret_cast<void**>(&factory)));
    TestOuter outer;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, TheWidgetLog().constructed);
}

TEST_F(ObjectModelTest, CountsStayExactAcrossThreads) {
    CComPtr<ITestBaz> shared;
    ASSERT_EQ(S_OK, CComCreator<CComObject<Derived>>::CreateInstance(
                        nullptr, IID_ITestBaz, reinterpret_cast<void**>(&shared)));
    std::vector<std::thread> threads;
    threads.reserve(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 2000; ++i) {
                ITestBar* bar = nullptr;
                if (SUCCEEDED(shared->QueryInterface(IID_ITestBar, reinterpret_cast<void**>(&bar))))
                    bar->Release();
                CComPtr<ITestBaz> own;
                CComCreator<CComObject<Derived>>::CreateInstance(nullptr, IID_ITestBaz,
                                                                 reinterpret_cast<void**>(&own));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(1, theModule.GetLockCount());
    auto* object = static_cast<CComObject<Derived>*>(static_cast<ITestBaz*>(shared));
    {
        Derived::ObjectLock lock(object);  // recursive: a second lock on one thread is fine
        Derived::ObjectLock again(object);
    }
    EXPECT_EQ(0u, shared.Detach()->Release());
}

TEST_F(ObjectModelTest, ObjectMapKeepsDeclarationOrder) {
    const _ATL_OBJMAP_ENTRY* first = _AtlComModule.GetFirstEntry();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(CLSID_TestWidget, *first->pclsid);
    ASSERT_NE(nullptr, first->pNext);
    EXPECT_EQ(CLSID_TestSolo, *first->pNext->pclsid);
    EXPECT_EQ(nullptr, first->pNext->pNext);
}

}  // namespace
