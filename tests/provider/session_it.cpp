// The session through its interfaces: interface map, data source and properties, IGetSelf,
// OpenRowset, error information and the schema map.
#include <string>
#include <vector>

#include "provider_fixture.h"

namespace {

using provider_test::GetProperty;
using provider_test::PropertySet;
using provider_test::TextOf;

class SessionTest : public provider_test::ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        dataSource = InitializedDataSource();
        ASSERT_TRUE(dataSource);
        session = OpenSession(dataSource);
        ASSERT_TRUE(session);
    }

    CComPtr<IDBInitialize> dataSource;
    CComPtr<IUnknown> session;
};

TEST_F(SessionTest, AnswersItsInterfacesAndNoOthers) {
    const IID* offered[] = {&IID_IGetDataSource,    &IID_IOpenRowset,      &IID_ISessionProperties,
                            &IID_IObjectWithSite,   &IID_IDBCreateCommand, &IID_IDBSchemaRowset,
                            &IID_ISupportErrorInfo, &IID_IGetSelf};
    for (const IID* iid : offered) {
        CComPtr<IUnknown> itf;
        EXPECT_EQ(session->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
        CComPtr<IUnknown> identity;
        ASSERT_EQ(itf->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
        EXPECT_TRUE(identity == session.p);
    }
    CComPtr<IUnknown> none;
    EXPECT_EQ(session->QueryInterface(IID_IDBInitialize, reinterpret_cast<void**>(&none)),
              E_NOINTERFACE);
    EXPECT_EQ(session->QueryInterface(IID_IRowset, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
}

TEST_F(SessionTest, DataSourceIsTheCreatorAndItsSite) {
    CComQIPtr<IGetDataSource> getDataSource(session);
    CComPtr<IUnknown> fromSession;
    ASSERT_EQ(getDataSource->GetDataSource(IID_IUnknown, &fromSession), S_OK);
    EXPECT_TRUE(CComPtr<IUnknown>(dataSource).IsEqualObject(fromSession));
    EXPECT_EQ(getDataSource->GetDataSource(IID_IUnknown, nullptr), E_INVALIDARG);

    CComQIPtr<IObjectWithSite> withSite(session);
    CComPtr<IDBInitialize> site;
    ASSERT_EQ(withSite->GetSite(IID_IDBInitialize, reinterpret_cast<void**>(&site)), S_OK);
    EXPECT_TRUE(site == dataSource.p);
}

TEST_F(SessionTest, CreationNeedsAnInitialisedDataSourceAndRefusesWrongAggregation) {
    CComPtr<IDBInitialize> fresh = CreateDataSource();
    CComQIPtr<IDBCreateSession> create(fresh);
    CComPtr<IUnknown> none;
    EXPECT_EQ(create->CreateSession(nullptr, IID_IUnknown, &none), E_UNEXPECTED);

    CComQIPtr<IDBCreateSession> initialised(dataSource);
    EXPECT_EQ(initialised->CreateSession(session, IID_IOpenRowset, &none), DB_E_NOAGGREGATION);
    EXPECT_EQ(initialised->CreateSession(nullptr, IID_IUnknown, nullptr), E_INVALIDARG);
}

TEST_F(SessionTest, SessionPropertiesHoldTheCurrentCatalog) {
    CComQIPtr<ISessionProperties> properties(session);
    DBPROPIDSET all{nullptr, 0, DBPROPSET_SESSION};
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(properties->GetProperties(1, &all, &count, &sets), S_OK);
    ASSERT_EQ(count, 1u);
    ASSERT_EQ(sets[0].cProperties, 1u);
    EXPECT_EQ(sets[0].rgProperties[0].dwPropertyID, DBPROP_CURRENTCATALOG);
    EXPECT_EQ(TextOf(sets[0].rgProperties[0].vValue), u"");
    provider_test::FreePropertySets(count, sets);

    PropertySet catalog(DBPROPSET_SESSION);
    catalog.Add(DBPROP_CURRENTCATALOG, CComVariant(u"DEFAULT"));
    DBPROPSET set = catalog.Set();
    ASSERT_EQ(properties->SetProperties(1, &set), S_OK);
    DBPROPID id = DBPROP_CURRENTCATALOG;
    DBPROPIDSET one{&id, 1, DBPROPSET_SESSION};
    ASSERT_EQ(properties->GetProperties(1, &one, &count, &sets), S_OK);
    EXPECT_EQ(TextOf(sets[0].rgProperties[0].vValue), u"DEFAULT");
    provider_test::FreePropertySets(count, sets);
}

TEST_F(SessionTest, GetSelfGivesTheObjectAndRefusesNull) {
    CComQIPtr<IGetSelf> getSelf(session);
    ASSERT_TRUE(getSelf);
    EXPECT_EQ(getSelf->GetSelf(nullptr), E_INVALIDARG);
    void* self = nullptr;
    ASSERT_EQ(getSelf->GetSelf(&self), S_OK);
    EXPECT_NE(self, nullptr);
    void* again = nullptr;
    ASSERT_EQ(getSelf->GetSelf(&again), S_OK);
    EXPECT_EQ(self, again);

    // The data source answers the same way, with an object of its own.
    CComQIPtr<IGetSelf> dataSourceSelf(dataSource);
    void* source = nullptr;
    ASSERT_EQ(dataSourceSelf->GetSelf(&source), S_OK);
    EXPECT_NE(source, nullptr);
    EXPECT_NE(source, self);
    EXPECT_EQ(dataSourceSelf->GetSelf(nullptr), E_INVALIDARG);
}

TEST_F(SessionTest, OpenRowsetOfAValidTableFailsWithNoInterfaceAndNoRowset) {
    CComQIPtr<IOpenRowset> open(session);
    DBID table{};
    table.eKind = DBKIND_NAME;
    table.uName.pwszName = const_cast<LPOLESTR>(u"Sales");
    IUnknown* rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowset, 0, nullptr, &rowset),
              E_NOINTERFACE);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(SessionTest, OpenRowsetArgumentErrorsComeFirst) {
    CComQIPtr<IOpenRowset> open(session);
    DBID table{};
    table.eKind = DBKIND_NAME;
    table.uName.pwszName = const_cast<LPOLESTR>(u"Sales");
    IUnknown* rowset = nullptr;
    EXPECT_EQ(open->OpenRowset(nullptr, nullptr, nullptr, IID_IRowset, 0, nullptr, &rowset),
              E_INVALIDARG);
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowset, 1, nullptr, &rowset),
              E_INVALIDARG);
    EXPECT_EQ(open->OpenRowset(session, &table, nullptr, IID_IRowset, 0, nullptr, &rowset),
              DB_E_NOAGGREGATION);
    EXPECT_EQ(open->OpenRowset(nullptr, &table, &table, IID_IRowset, 0, nullptr, &rowset),
              DB_E_NOINDEX);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(SessionTest, EveryInterfaceSupportsErrorInfo) {
    CComQIPtr<ISupportErrorInfo> errorInfo(session);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IOpenRowset), S_OK);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IRowset), S_OK);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(GUID_NULL), S_OK);
}

TEST_F(SessionTest, GetSchemasListsTheNineSchemasInOrder) {
    CComQIPtr<IDBSchemaRowset> schemas(session);
    ULONG count = 0;
    GUID* guids = nullptr;
    ULONG* masks = nullptr;
    ASSERT_EQ(schemas->GetSchemas(&count, &guids, &masks), S_OK);
    const GUID* expected[] = {&MDSCHEMA_CUBES,      &MDSCHEMA_DIMENSIONS, &MDSCHEMA_HIERARCHIES,
                              &MDSCHEMA_LEVELS,     &MDSCHEMA_MEMBERS,    &MDSCHEMA_MEASURES,
                              &MDSCHEMA_PROPERTIES, &MDSCHEMA_SETS,       &MDSCHEMA_FUNCTIONS};
    const ULONG expectedMasks[] = {0x4, 0x14, 0x4, 0x14, 0x134, 0x4, 0, 0, 0};
    ASSERT_EQ(count, 9u);
    for (ULONG i = 0; i < count; ++i) {
        EXPECT_TRUE(guids[i] == *expected[i]) << i;
        EXPECT_EQ(masks[i], expectedMasks[i]) << i;
    }
    CoTaskMemFree(guids);
    CoTaskMemFree(masks);
}

TEST_F(SessionTest, UnknownSchemaIsRefusedWithInvalidArg) {
    CComQIPtr<IDBSchemaRowset> schemas(session);
    CComPtr<IUnknown> rowset;
    EXPECT_EQ(
        schemas->GetRowset(nullptr, DBSCHEMA_TABLES, 0, nullptr, IID_IRowset, 0, nullptr, &rowset),
        E_INVALIDARG);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, MDSCHEMA_ACTIONS, 0, nullptr, IID_IRowset, 0, nullptr, &rowset),
        E_INVALIDARG);
    EXPECT_FALSE(rowset);
}

TEST_F(SessionTest, SchemaRowsetsTakeAnyRestrictionsAndHaveTheSchemaRowsetInterfaces) {
    CComQIPtr<IDBSchemaRowset> schemas(session);
    CComVariant restrictions[9];
    restrictions[2] = CComVariant(u"Sales");
    restrictions[4] = CComVariant(17);
    const GUID* all[] = {&MDSCHEMA_CUBES,      &MDSCHEMA_DIMENSIONS, &MDSCHEMA_HIERARCHIES,
                         &MDSCHEMA_LEVELS,     &MDSCHEMA_MEMBERS,    &MDSCHEMA_MEASURES,
                         &MDSCHEMA_PROPERTIES, &MDSCHEMA_SETS,       &MDSCHEMA_FUNCTIONS};
    for (const GUID* schema : all) {
        CComPtr<IRowset> rowset;
        ASSERT_EQ(schemas->GetRowset(nullptr, *schema, 9, restrictions, IID_IRowset, 0, nullptr,
                                     reinterpret_cast<IUnknown**>(&rowset)),
                  S_OK);
        const IID* offered[] = {&IID_IRowsetInfo,  &IID_IObjectWithSite, &IID_IColumnsInfo,
                                &IID_IConvertType, &IID_IRowsetIdentity, &IID_IAccessor};
        for (const IID* iid : offered) {
            CComPtr<IUnknown> itf;
            EXPECT_EQ(rowset->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
        }
        CComQIPtr<IObjectWithSite> withSite(rowset);
        CComPtr<IUnknown> site;
        ASSERT_EQ(withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), S_OK);
        EXPECT_TRUE(site == session.p);
    }
}

TEST_F(SessionTest, TwoSessionsOfOneDataSourceAreSeparateObjects) {
    CComPtr<IUnknown> second = OpenSession(dataSource);
    void* first = nullptr;
    void* other = nullptr;
    CComQIPtr<IGetSelf>(session)->GetSelf(&first);
    CComQIPtr<IGetSelf>(second)->GetSelf(&other);
    EXPECT_NE(first, other);
}

}  // namespace
