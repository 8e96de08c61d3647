// Tests of the session's schema map (GetSchemas, GetRowset refusals, restrictions reaching the
// rowset) and of OpenRowset's argument checks.
#include <gtest/gtest.h>

#include "oledb_test_provider.h"

namespace {

class OledbSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_oledbExecute = OledbExecuteRecord{};
        source = OledbNewDataSource();
        ASSERT_EQ(source->Initialize(), S_OK);
        session = OledbNewSession(source);
        schemas = OledbQuery<IDBSchemaRowset>(session);
        open = OledbQuery<IOpenRowset>(session);
    }

    CComPtr<IDBInitialize> source;
    CComPtr<IUnknown> session;
    CComPtr<IDBSchemaRowset> schemas;
    CComPtr<IOpenRowset> open;
};

DBID TableId(LPOLESTR name) {
    DBID id{};
    id.eKind = DBKIND_NAME;
    id.uName.pwszName = name;
    return id;
}

}  // namespace

TEST_F(OledbSessionTest, GetSchemasListsTheMapInOrderWithMasks) {
    ULONG count = 0;
    GUID* guids = nullptr;
    ULONG* masks = nullptr;
    ASSERT_EQ(schemas->GetSchemas(&count, &guids, &masks), S_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_TRUE(guids[0] == MDSCHEMA_CUBES);
    EXPECT_TRUE(guids[1] == MDSCHEMA_DIMENSIONS);
    EXPECT_TRUE(guids[2] == MDSCHEMA_SETS);
    EXPECT_EQ(masks[0], 0u);
    EXPECT_EQ(masks[1], 0x7u);
    EXPECT_EQ(masks[2], 0x1fu) << "the session's SetRestrictions has the last word";
    CoTaskMemFree(guids);
    CoTaskMemFree(masks);

    count = 9;
    EXPECT_EQ(schemas->GetSchemas(&count, nullptr, &masks), E_INVALIDARG);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(masks, nullptr);
    EXPECT_EQ(schemas->GetSchemas(nullptr, &guids, &masks), E_INVALIDARG);
    EXPECT_EQ(schemas->GetSchemas(&count, &guids, nullptr), E_INVALIDARG);
}

TEST_F(OledbSessionTest, GetRowsetRefusals) {
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, DBSCHEMA_TABLES, 0, nullptr, IID_IUnknown, 0, nullptr, &rowset),
        E_INVALIDARG);
    EXPECT_EQ(rowset, nullptr);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, MDSCHEMA_CUBES, 0, nullptr, IID_IUnknown, 0, nullptr, nullptr),
        E_INVALIDARG);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, MDSCHEMA_CUBES, 2, nullptr, IID_IUnknown, 0, nullptr, &rowset),
        E_INVALIDARG);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, MDSCHEMA_CUBES, 0, nullptr, IID_IUnknown, 1, nullptr, &rowset),
        E_INVALIDARG);
    OledbTestOuter outer;
    EXPECT_EQ(schemas->GetRowset(&outer, MDSCHEMA_CUBES, 0, nullptr, IID_IObjectWithSite, 0,
                                 nullptr, &rowset),
              DB_E_NOAGGREGATION);
    // The session's restriction check runs before any rowset is made.
    VARIANT many[10];
    for (VARIANT& v : many) VariantInit(&v);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, MDSCHEMA_CUBES, 10, many, IID_IUnknown, 0, nullptr, &rowset),
        E_INVALIDARG);
    EXPECT_EQ(g_oledbExecute.executions, 0);
    // A failing Execute is the consumer's answer.
    g_oledbExecute.result = E_ACCESSDENIED;
    EXPECT_EQ(
        schemas->GetRowset(nullptr, MDSCHEMA_CUBES, 0, nullptr, IID_IUnknown, 0, nullptr, &rowset),
        E_ACCESSDENIED);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(OledbSessionTest, RestrictionsReachTheRowsetAsGiven) {
    VARIANT restrictions[9];
    for (VARIANT& v : restrictions) VariantInit(&v);
    restrictions[2].vt = VT_I4;  // any type is passed on
    restrictions[2].lVal = 3;
    CComPtr<IObjectWithSite> rowset;
    ASSERT_EQ(schemas->GetRowset(nullptr, MDSCHEMA_SETS, 9, restrictions, IID_IObjectWithSite, 0,
                                 nullptr, reinterpret_cast<IUnknown**>(&rowset)),
              S_OK);
    EXPECT_EQ(g_oledbExecute.executions, 1);
    EXPECT_EQ(g_oledbExecute.restrictionCount, 9u);
    EXPECT_EQ(g_oledbExecute.restrictions, restrictions);
    // Its site is the session.
    IUnknown* site = nullptr;
    ASSERT_EQ(rowset->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), S_OK);
    EXPECT_EQ(site, session.p);
    site->Release();

    // Aggregated under IID_IUnknown.
    OledbTestOuter outer;
    IUnknown* inner = nullptr;
    ASSERT_EQ(schemas->GetRowset(&outer, MDSCHEMA_DIMENSIONS, 0, nullptr, IID_IUnknown, 0, nullptr,
                                 &inner),
              S_OK);
    EXPECT_EQ(outer.refs, 1u);
    inner->Release();
}

TEST_F(OledbSessionTest, OpenRowsetArgumentChecks) {
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(open->OpenRowset(nullptr, nullptr, nullptr, IID_IRowsetInfo, 0, nullptr, &rowset),
              E_INVALIDARG);
    EXPECT_EQ(rowset, nullptr);
    DBID table = TableId(const_cast<LPOLESTR>(u"Sales"));
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowsetInfo, 1, nullptr, &rowset),
              E_INVALIDARG);
    DBPROPSET broken{nullptr, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowsetInfo, 1, &broken, &rowset),
              E_INVALIDARG);
    OledbTestOuter outer;
    EXPECT_EQ(open->OpenRowset(&outer, &table, nullptr, IID_IRowsetInfo, 0, nullptr, &rowset),
              DB_E_NOAGGREGATION);
    DBID index = TableId(const_cast<LPOLESTR>(u"ix"));
    EXPECT_EQ(open->OpenRowset(nullptr, &table, &index, IID_IRowsetInfo, 0, nullptr, &rowset),
              DB_E_NOINDEX);
    DBID nameless = TableId(nullptr);
    EXPECT_EQ(open->OpenRowset(nullptr, &nameless, nullptr, IID_IRowsetInfo, 0, nullptr, &rowset),
              DB_E_BADTABLEID);
    DBID badKind = TableId(const_cast<LPOLESTR>(u"Sales"));
    badKind.eKind = 77;
    EXPECT_EQ(open->OpenRowset(nullptr, &badKind, nullptr, IID_IRowsetInfo, 0, nullptr, &rowset),
              DB_E_BADTABLEID);
    EXPECT_EQ(g_oledbExecute.executions, 0);

    // The rowset's Execute decides; its failure is the answer.
    g_oledbExecute.result = E_NOINTERFACE;
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowsetInfo, 0, nullptr, &rowset),
              E_NOINTERFACE);
    EXPECT_EQ(rowset, nullptr);
    // Without ppRowset the rowset is still executed, and then dropped.
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowsetInfo, 0, nullptr, nullptr),
              E_NOINTERFACE);
    EXPECT_EQ(g_oledbExecute.executions, 2);
}

TEST_F(OledbSessionTest, OpenRowsetAppliesTheConsumersProperties) {
    DBID table = TableId(const_cast<LPOLESTR>(u"Sales"));
    DBPROP props[2] = {};
    props[0].dwPropertyID = DBPROP_CANHOLDROWS;
    props[0].vValue.vt = VT_BOOL;
    props[0].vValue.boolVal = VARIANT_FALSE;
    props[1].dwPropertyID = 0x7777;
    props[1].dwOptions = DBPROPOPTIONS_OPTIONAL;
    props[1].vValue.vt = VT_I4;
    DBPROPSET set{props, 2, DBPROPSET_ROWSET};
    CComPtr<IRowsetInfo> rowset;
    ASSERT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowsetInfo, 1, &set,
                               reinterpret_cast<IUnknown**>(&rowset)),
              DB_S_ERRORSOCCURRED);
    EXPECT_EQ(props[0].dwStatus, DBPROPSTATUS_OK);
    EXPECT_EQ(props[1].dwStatus, DBPROPSTATUS_NOTSUPPORTED);
    DBPROPID id = DBPROP_CANHOLDROWS;
    DBPROPIDSET idSet{&id, 1, DBPROPSET_ROWSET};
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(rowset->GetProperties(1, &idSet, &count, &sets), S_OK);
    EXPECT_EQ(sets[0].rgProperties[0].vValue.boolVal, VARIANT_FALSE);
    OledbFreePropSets(count, sets);

    // The published statuses of SetProperties: a read-only property cannot change.
    props[1].dwPropertyID = DBPROP_IAccessor;
    props[1].vValue.vt = VT_BOOL;
    props[1].vValue.boolVal = VARIANT_FALSE;
    CComPtr<IUnknown> second;
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IUnknown, 1, &set, &second),
              DB_S_ERRORSOCCURRED);
    EXPECT_EQ(props[1].dwStatus, DBPROPSTATUS_NOTSET);
    props[1].dwPropertyID = 0x7777;
    props[1].vValue.vt = VT_I4;

    // A required property that cannot be set fails the call.
    props[1].dwOptions = DBPROPOPTIONS_REQUIRED;
    auto* refused = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(open->OpenRowset(nullptr, &table, nullptr, IID_IRowsetInfo, 1, &set, &refused),
              DB_E_ERRORSOCCURRED);
    EXPECT_EQ(refused, nullptr);
}
