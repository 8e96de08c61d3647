// Generic interface implementations: object with site, persist, service map, property pages of
// the property map, error-info support.
#include <gtest/gtest.h>

#include "atl_com.h"
#include "object_model_test_types.h"

namespace {

COMRT_GUID(CLSID_PageOne, 0x3c4d5e60, 0x1111, 0x2222, 0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44,
           0x01);
COMRT_GUID(CLSID_PageTwo, 0x3c4d5e60, 0x1111, 0x2222, 0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44,
           0x02);
COMRT_GUID(CLSID_Sited, 0x3c4d5e60, 0x1111, 0x2222, 0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x03);
COMRT_GUID(SID_Pages, 0x3c4d5e60, 0x1111, 0x2222, 0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x04);
COMRT_GUID(SID_Chained, 0x3c4d5e60, 0x1111, 0x2222, 0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x05);

class Sited : public CComObjectRootEx<CComSingleThreadModel>,
              public CComCoClass<Sited, &CLSID_Sited>,
              public IObjectWithSiteImpl<Sited>,
              public IPersistImpl<Sited>,
              public IServiceProviderImpl<Sited>,
              public ISpecifyPropertyPagesImpl<Sited>,
              public ISupportErrorInfoImpl<&IID_ITestFoo>,
              public ITestFoo {
  public:
    DECLARE_NO_REGISTRY()

    BEGIN_COM_MAP(Sited)
    COM_INTERFACE_ENTRY(ITestFoo)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IPersist)
    COM_INTERFACE_ENTRY(IServiceProvider)
    COM_INTERFACE_ENTRY(ISpecifyPropertyPages)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    BEGIN_SERVICE_MAP(Sited)
    SERVICE_ENTRY(SID_Pages)
    SERVICE_ENTRY_CHAIN(m_spUnkSite)
    END_SERVICE_MAP()

    BEGIN_PROP_MAP(Sited)
    PROP_PAGE(CLSID_PageTwo)
    PROP_DATA_ENTRY("Width", m_width, VT_I4)
    PROP_PAGE(CLSID_PageOne)
    PROP_DATA_ENTRY(u"Name", m_name, VT_BSTR)
    PROP_PAGE(CLSID_PageTwo)
    END_PROP_MAP()

    STDMETHOD_(int, Foo)() override { return 3; }

    LONG m_width = 10;
    WCHAR m_name[16] = u"widget";
};

// A site that offers one service of its own.
class Site : public CComObjectRootEx<CComSingleThreadModel>,
             public IServiceProviderImpl<Site>,
             public ITestBar {
  public:
    BEGIN_COM_MAP(Site)
    COM_INTERFACE_ENTRY(ITestBar)
    COM_INTERFACE_ENTRY(IServiceProvider)
    END_COM_MAP()
    BEGIN_SERVICE_MAP(Site)
    SERVICE_ENTRY(SID_Chained)
    END_SERVICE_MAP()
    STDMETHOD_(int, Bar)() override { return 9; }
};

class GenericImplTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(S_OK, Sited::CreateInstance(&m_foo)); }
    CComPtr<ITestFoo> m_foo;
};

TEST_F(GenericImplTest, SiteIsKeptAndAnswered) {
    CComQIPtr<IObjectWithSite> withSite(m_foo);
    ASSERT_TRUE(withSite);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_FAIL, withSite->GetSite(IID_IUnknown, &out));  // no site yet
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, withSite->GetSite(IID_IUnknown, nullptr));

    CComPtr<ITestBar> site;
    ASSERT_EQ(S_OK, CComCreator<CComObject<Site>>::CreateInstance(nullptr, IID_ITestBar,
                                                                  reinterpret_cast<void**>(&site)));
    EXPECT_EQ(S_OK, withSite->SetSite(site));
    CComPtr<ITestBar> back;
    EXPECT_EQ(S_OK, withSite->GetSite(IID_ITestBar, reinterpret_cast<void**>(&back)));
    EXPECT_EQ(site.p, back.p);
    EXPECT_EQ(E_NOINTERFACE, withSite->GetSite(IID_IPersist, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));
    EXPECT_EQ(E_FAIL, withSite->GetSite(IID_ITestBar, &out));
}

TEST_F(GenericImplTest, PersistAnswersTheClassId) {
    CComQIPtr<IPersist> persist(m_foo);
    CLSID clsid = GUID_NULL;
    EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
    EXPECT_EQ(CLSID_Sited, clsid);
}

TEST_F(GenericImplTest, ServiceMapAnswersThroughQueryInterface) {
    CComQIPtr<IServiceProvider> provider(m_foo);
    ASSERT_TRUE(provider);
    CComPtr<ISpecifyPropertyPages> pages;
    EXPECT_EQ(S_OK, provider->QueryService(SID_Pages, IID_ISpecifyPropertyPages,
                                           reinterpret_cast<void**>(&pages)));
    EXPECT_TRUE(pages.IsEqualObject(m_foo));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, provider->QueryService(SID_Pages, IID_ITestBar, &out));
    EXPECT_EQ(nullptr, out);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, provider->QueryService(IID_IUnknown, IID_ITestFoo, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, provider->QueryService(SID_Pages, IID_ITestFoo, nullptr));
}

TEST_F(GenericImplTest, ServiceMapChainsToTheSite) {
    CComPtr<ITestBar> site;
    ASSERT_EQ(S_OK, CComCreator<CComObject<Site>>::CreateInstance(nullptr, IID_ITestBar,
                                                                  reinterpret_cast<void**>(&site)));
    CComQIPtr<IObjectWithSite>(m_foo)->SetSite(site);
    CComQIPtr<IServiceProvider> provider(m_foo);
    CComPtr<ITestBar> bar;
    EXPECT_EQ(S_OK,
              provider->QueryService(SID_Chained, IID_ITestBar, reinterpret_cast<void**>(&bar)));
    EXPECT_EQ(9, bar->Bar());
    // The site is released with the object, not leaked through a cycle.
    CComQIPtr<IObjectWithSite>(m_foo)->SetSite(nullptr);
}

TEST_F(GenericImplTest, PagesComeInMapOrderWithoutDuplicates) {
    CComQIPtr<ISpecifyPropertyPages> pages(m_foo);
    CAUUID list{};
    ASSERT_EQ(S_OK, pages->GetPages(&list));
    ASSERT_EQ(2u, list.cElems);
    EXPECT_EQ(CLSID_PageTwo, list.pElems[0]);
    EXPECT_EQ(CLSID_PageOne, list.pElems[1]);
    CoTaskMemFree(list.pElems);
    EXPECT_EQ(E_POINTER, pages->GetPages(nullptr));
}

TEST(PropertyMapTest, DataEntriesReachTheMembersOfAGivenObject) {
    const ATL_PROPMAP_ENTRY* map = Sited::GetPropertyMap();
    CComObjectNoLock<Sited> object;
    ASSERT_NE(nullptr, map[1].pfnData);
    EXPECT_EQ(std::u16string(u"Width"), map[1].szDesc);
    EXPECT_EQ(&object.m_width, map[1].pfnData(static_cast<Sited*>(&object)));
    EXPECT_EQ(sizeof(LONG), map[1].dwSizeData);
    EXPECT_EQ(VT_I4, map[1].vt);
    EXPECT_EQ(CLSID_NULL, *map[1].pclsidPropPage);
    EXPECT_EQ(static_cast<void*>(object.m_name), map[3].pfnData(static_cast<Sited*>(&object)));
    EXPECT_EQ(sizeof(object.m_name), map[3].dwSizeData);
    EXPECT_EQ(nullptr, map[0].pfnData);
    EXPECT_TRUE(IsPropMapEnd(map[5]));
    EXPECT_FALSE(IsPropMapEnd(map[0]));
}

TEST(PropertyMapTest, NoPagesGiveAnEmptyList) {
    const ATL_PROPMAP_ENTRY onlyData[] = {{u"x", &CLSID_NULL, nullptr, 0, VT_I4},
                                          {nullptr, nullptr, nullptr, 0, 0}};
    EXPECT_TRUE(CollectPropertyPages(onlyData).empty());
    EXPECT_TRUE(CollectPropertyPages(nullptr).empty());
}

TEST_F(GenericImplTest, ErrorInfoSupportNamesItsInterface) {
    CComQIPtr<ISupportErrorInfo> support(m_foo);
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_ITestFoo));
    EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_ITestBar));
}

}  // namespace
