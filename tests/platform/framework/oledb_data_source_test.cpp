// Tests of the data source and session bases: Initialize and Uninitialize, CreateSession and its
// refusals, the session's site and connection, IGetDataSource, and aggregation of both objects.
#include <gtest/gtest.h>

#include "oledb_test_provider.h"

TEST(OledbDataSource, InitializeOnceUninitializeAlways) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    EXPECT_EQ(source->Uninitialize(), S_OK);
    EXPECT_EQ(source->Initialize(), S_OK);
    EXPECT_EQ(source->Initialize(), DB_E_ALREADYINITIALIZED);
    EXPECT_EQ(source->Uninitialize(), S_OK);
    EXPECT_EQ(source->Initialize(), S_OK);
}

TEST(OledbDataSource, SessionsNeedAnInitializedDataSource) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBCreateSession> create = OledbQuery<IDBCreateSession>(source);
    auto* session = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(create->CreateSession(nullptr, IID_IUnknown, &session), E_UNEXPECTED);
    EXPECT_EQ(session, nullptr);
    EXPECT_EQ(create->CreateSession(nullptr, IID_IUnknown, nullptr), E_INVALIDARG);
    ASSERT_EQ(source->Initialize(), S_OK);
    EXPECT_EQ(create->CreateSession(nullptr, IID_IDBInitialize, &session), E_NOINTERFACE);
    EXPECT_EQ(session, nullptr);
    CComPtr<IGetDataSource> getSource;
    ASSERT_EQ(create->CreateSession(nullptr, IID_IGetDataSource,
                                    reinterpret_cast<IUnknown**>(&getSource)),
              S_OK);
    CComPtr<IDBInitialize> back;
    ASSERT_EQ(getSource->GetDataSource(IID_IDBInitialize, reinterpret_cast<IUnknown**>(&back)),
              S_OK);
    EXPECT_EQ(back.p, source.p);
    auto* none = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(getSource->GetDataSource(IID_ICommand, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(getSource->GetDataSource(IID_IUnknown, nullptr), E_INVALIDARG);
}

TEST(OledbDataSource, OpenSessionsKeepTheDataSourceInitialized) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    CComPtr<IUnknown> first = OledbNewSession(source);
    CComPtr<IUnknown> second = OledbNewSession(source);
    auto* object = static_cast<OledbTestDataSource*>(static_cast<IDBInitialize*>(source.p));
    EXPECT_EQ(object->m_cSessionsOpen, 2u);
    EXPECT_EQ(source->Uninitialize(), DB_E_OBJECTOPEN);
    first = nullptr;
    EXPECT_EQ(source->Uninitialize(), DB_E_OBJECTOPEN);
    second = nullptr;
    EXPECT_EQ(object->m_cSessionsOpen, 0u);
    EXPECT_EQ(source->Uninitialize(), S_OK);
}

TEST(OledbDataSource, ActiveSessionsLimitsTheSessions) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    auto* object = static_cast<OledbTestDataSource*>(static_cast<IDBInitialize*>(source.p));
    VARIANT limit;
    VariantInit(&limit);
    limit.vt = VT_I4;
    limit.lVal = 1;
    ASSERT_EQ(object->SetPropValue(&DBPROPSET_DATASOURCEINFO, DBPROP_ACTIVESESSIONS, &limit), S_OK);
    CComPtr<IUnknown> session = OledbNewSession(source);
    IUnknown* another = nullptr;
    EXPECT_EQ(OledbQuery<IDBCreateSession>(source)->CreateSession(nullptr, IID_IUnknown, &another),
              DB_E_OBJECTCREATIONLIMITREACHED);
    EXPECT_EQ(another, nullptr);
    session = nullptr;
    EXPECT_EQ(OledbQuery<IDBCreateSession>(source)->CreateSession(nullptr, IID_IUnknown, &another),
              S_OK);
    another->Release();
}

TEST(OledbDataSource, AggregatedSessionDelegatesToItsOuterObject) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    CComPtr<IDBCreateSession> create = OledbQuery<IDBCreateSession>(source);
    OledbTestOuter outer;
    auto* inner = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(create->CreateSession(&outer, IID_IDBCreateCommand, &inner), DB_E_NOAGGREGATION);
    EXPECT_EQ(inner, nullptr);
    ASSERT_EQ(create->CreateSession(&outer, IID_IUnknown, &inner), S_OK);
    outer.inner = inner;
    IOpenRowset* open = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IOpenRowset, reinterpret_cast<void**>(&open)), S_OK);
    const ULONG before = outer.refs;
    open->AddRef();
    EXPECT_EQ(outer.refs, before + 1);
    open->Release();
    IUnknown* identity = nullptr;
    ASSERT_EQ(open->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    open->Release();
    EXPECT_EQ(outer.refs, 1u);
    outer.inner = nullptr;
    inner->Release();
}

TEST(OledbDataSource, AggregatedDataSourceKeepsItsRules) {
    OledbTestOuter outer;
    CComPolyObject<OledbTestDataSource>* object = nullptr;
    ASSERT_EQ(CComPolyObject<OledbTestDataSource>::CreateInstance(&outer, &object), S_OK);
    object->AddRef();
    outer.inner = object;
    IDBInitialize* initialize = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IDBInitialize, reinterpret_cast<void**>(&initialize)),
              S_OK);
    EXPECT_EQ(outer.refs, 2u);
    EXPECT_EQ(initialize->Initialize(), S_OK);
    EXPECT_EQ(initialize->Initialize(), DB_E_ALREADYINITIALIZED);
    // A session's site is the aggregate: its data source answers through the outer object.
    IDBCreateSession* create = nullptr;
    ASSERT_EQ(initialize->QueryInterface(IID_IDBCreateSession, reinterpret_cast<void**>(&create)),
              S_OK);
    CComPtr<IGetDataSource> session;
    ASSERT_EQ(
        create->CreateSession(nullptr, IID_IGetDataSource, reinterpret_cast<IUnknown**>(&session)),
        S_OK);
    IUnknown* identity = nullptr;
    ASSERT_EQ(session->GetDataSource(IID_IUnknown, &identity), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    session = nullptr;
    create->Release();
    initialize->Release();
    EXPECT_EQ(outer.refs, 1u);
    outer.inner = nullptr;
    object->Release();
}

TEST(OledbDataSource, InternalConnectionCountsAndRefusesUnderflow) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IInternalConnection> connection = OledbQuery<IInternalConnection>(source);
    EXPECT_EQ(connection->ReleaseConnection(), E_UNEXPECTED);
    EXPECT_EQ(connection->AddConnection(), S_OK);
    EXPECT_EQ(source->Initialize(), S_OK);
    EXPECT_EQ(source->Uninitialize(), DB_E_OBJECTOPEN);
    EXPECT_EQ(connection->ReleaseConnection(), S_OK);
    EXPECT_EQ(source->Uninitialize(), S_OK);
}

TEST(OledbDataSource, SessionSiteMovesItsConnection) {
    CComPtr<IDBInitialize> first = OledbNewDataSource();
    CComPtr<IDBInitialize> second = OledbNewDataSource();
    ASSERT_EQ(first->Initialize(), S_OK);
    ASSERT_EQ(second->Initialize(), S_OK);
    CComPtr<IUnknown> session = OledbNewSession(first);
    CComPtr<IObjectWithSite> site = OledbQuery<IObjectWithSite>(session);
    ASSERT_EQ(site->SetSite(second), S_OK);
    EXPECT_EQ(first->Uninitialize(), S_OK);
    EXPECT_EQ(second->Uninitialize(), DB_E_OBJECTOPEN);
    ASSERT_EQ(site->SetSite(nullptr), S_OK);
    EXPECT_EQ(second->Uninitialize(), S_OK);
    CComPtr<IDBInitialize> none;
    EXPECT_EQ(OledbQuery<IGetDataSource>(session)->GetDataSource(
                  IID_IDBInitialize, reinterpret_cast<IUnknown**>(&none)),
              E_UNEXPECTED);
}
