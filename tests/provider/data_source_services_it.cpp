// The data source's interface map, its class id, the data-link property-page service and its
// property-page map.
#include "provider_fixture.h"

namespace {

class DataSourceServicesTest : public provider_test::ProviderTest {};

TEST_F(DataSourceServicesTest, AnswersItsInterfacesWithOneIdentity) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    const IID* offered[] = {
        &IID_IDBCreateSession,    &IID_IDBInitialize,    &IID_IDBProperties,         &IID_IPersist,
        &IID_IInternalConnection, &IID_IServiceProvider, &IID_ISpecifyPropertyPages, &IID_IGetSelf};
    for (const IID* iid : offered) {
        CComPtr<IUnknown> itf;
        ASSERT_EQ(dataSource->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
        CComPtr<IUnknown> identity;
        ASSERT_EQ(itf->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
        CComPtr<IUnknown> expected;
        dataSource->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&expected));
        EXPECT_TRUE(identity == expected.p);
    }
    CComPtr<IUnknown> none;
    EXPECT_EQ(dataSource->QueryInterface(IID_IOpenRowset, reinterpret_cast<void**>(&none)),
              E_NOINTERFACE);
    CComQIPtr<IPersist> persist(dataSource);
    CLSID clsid{};
    ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_TRUE(clsid == CLSID_ZelmoData);
}

TEST_F(DataSourceServicesTest, PropertyPageServiceIsTheDataSourceItself) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    CComQIPtr<IServiceProvider> services(dataSource);
    CComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(services->QueryService(OLEDB_SVC_DSLPropertyPages, IID_ISpecifyPropertyPages,
                                     reinterpret_cast<void**>(&pages)),
              S_OK);
    CComQIPtr<ISpecifyPropertyPages> own(dataSource);
    EXPECT_TRUE(pages == own.p);

    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 2u);
    EXPECT_TRUE(list.pElems[0] == CLSID_ZelmoConnectionDlg);
    EXPECT_TRUE(list.pElems[1] == CLSID_ZelmoAdvancedDlg);
    CoTaskMemFree(list.pElems);
}

TEST_F(DataSourceServicesTest, OtherServicesAndNullResultsAreRefused) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    CComQIPtr<IServiceProvider> services(dataSource);
    void* result = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(services->QueryService(CLSID_ZelmoData, IID_IUnknown, &result), E_NOINTERFACE);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(services->QueryService(OLEDB_SVC_DSLPropertyPages, IID_IUnknown, nullptr), E_POINTER);
    result = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(services->QueryService(OLEDB_SVC_DSLPropertyPages, IID_IOpenRowset, &result),
              E_NOINTERFACE);
    EXPECT_EQ(result, nullptr);
}

}  // namespace
