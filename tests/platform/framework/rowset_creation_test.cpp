// Rowset creation through the test provider's command and schema map: the published checks in
// order, aggregation, what the rowset takes from its creator, and Execute's outcome.
#include "rowset_test_consumer.h"

namespace {

TEST(RowsetCreation, CommandChecksComeInThePublishedOrder) {
    CComPtr<ICommandText> command = OpenCommand(nullptr);
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    // No text: DB_E_NOCOMMAND before anything else, even for IID_NULL and a null out pointer.
    EXPECT_EQ(command->Execute(nullptr, IID_NULL, nullptr, nullptr, nullptr), DB_E_NOCOMMAND);
    ASSERT_EQ(command->SetCommandText(DBGUID_DEFAULT, u""), S_OK);
    EXPECT_EQ(command->Execute(nullptr, IID_IRowset, nullptr, nullptr, &rowset), DB_E_NOCOMMAND);
    ASSERT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"rows:2"), S_OK);
    // IID_NULL: S_OK at once, nothing written.
    EXPECT_EQ(command->Execute(nullptr, IID_NULL, nullptr, nullptr, &rowset), S_OK);
    EXPECT_EQ(rowset, reinterpret_cast<IUnknown*>(0x1));
    EXPECT_EQ(command->Execute(nullptr, IID_IRowset, nullptr, nullptr, nullptr), E_INVALIDARG);
    // Aggregation asks for IID_IUnknown; *ppRowset is cleared before that refusal.
    TestOuter outer;
    EXPECT_EQ(command->Execute(&outer, IID_IRowset, nullptr, nullptr, &rowset), DB_E_NOAGGREGATION);
    EXPECT_EQ(rowset, nullptr);
}

TEST(RowsetCreation, ExecuteFailureIsTheResultAndNothingIsHandedOut) {
    CComPtr<ICommandText> command = OpenCommand(u"fail");
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(command->Execute(nullptr, IID_IRowset, nullptr, nullptr, &rowset),
              DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(rowset, nullptr);
}

TEST(RowsetCreation, UnknownInterfaceIsRefused) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    IUnknown* rowset = nullptr;
    EXPECT_EQ(command->Execute(nullptr, IID_ICommand, nullptr, nullptr, &rowset), E_NOINTERFACE);
    EXPECT_EQ(rowset, nullptr);
}

TEST(RowsetCreation, RowsetTakesSiteTextRowsAffectedAndParameters) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:3");
    DBROWCOUNT rows = -1;
    CComPtr<IRowset> rowset = ExecuteRowset(command, &rows);
    ASSERT_TRUE(rowset);
    EXPECT_EQ(rows, 3);
    CComQIPtr<IObjectWithSite> withSite(rowset);
    ASSERT_TRUE(withSite);
    CComPtr<ICommand> site;
    EXPECT_EQ(withSite->GetSite(IID_ICommand, reinterpret_cast<void**>(&site)), S_OK);
    CComQIPtr<ICommand> same(command);
    EXPECT_EQ(site.p, same.p);
    // The rowset answers the whole rowset map, and IID_IUnknown is one identity.
    for (const IID* iid :
         {&IID_IRowsetInfo, &IID_IAccessor, &IID_IObjectWithSite, &IID_IColumnsInfo,
          &IID_IConvertType, &IID_IRowsetIdentity, &IID_IRowset}) {
        CComPtr<IUnknown> itf;
        EXPECT_EQ(rowset->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
        CComQIPtr<IUnknown> a(itf), b(rowset);
        EXPECT_EQ(a.p, b.p);
    }
}

TEST(RowsetCreation, RowsetTakesTheCommandsPropertiesAtCreation) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:3");
    CComPtr<IRowset> strict = ExecuteRowset(command);
    std::vector<HROW> first = NextRows(strict, 0, 1, S_OK);
    NextRows(strict, 0, 1, DB_E_ROWSNOTRELEASED);
    EXPECT_EQ(strict->ReleaseRows(1, first.data(), nullptr, nullptr, nullptr), S_OK);
    // While a rowset of the command lives, the command takes no new properties or text.
    CComQIPtr<ICommandProperties> properties(command);
    DBPROP prop{};
    prop.dwPropertyID = DBPROP_CANHOLDROWS;
    prop.vValue.vt = VT_BOOL;
    prop.vValue.boolVal = VARIANT_TRUE;
    DBPROPSET set{&prop, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(properties->SetProperties(1, &set), DB_E_OBJECTOPEN);
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"rows:1"), DB_E_OBJECTOPEN);
    strict.Release();
    // CANHOLDROWS set on the command reaches the rowsets created afterwards.
    SetRowsetProperty(command, DBPROP_CANHOLDROWS, true);
    CComPtr<IRowset> holding = ExecuteRowset(command);
    std::vector<HROW> a = NextRows(holding, 0, 1, S_OK);
    std::vector<HROW> b = NextRows(holding, 0, 1, S_OK);
    EXPECT_EQ(holding->ReleaseRows(1, a.data(), nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(holding->ReleaseRows(1, b.data(), nullptr, nullptr, nullptr), S_OK);
}

TEST(RowsetCreation, CommandAccessorsAreCopiedIntoTheRowset) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:2");
    const DBBINDING binding = Binding(2, DBTYPE_WSTR, 0, 64);
    HACCESSOR handle = MakeAccessor(command, {binding});
    ASSERT_NE(handle, DB_NULL_HACCESSOR);
    CComPtr<IRowset> rowset = ExecuteRowset(command);
    // Released on the command, the copy on the rowset lives on, with its own count.
    CComQIPtr<IAccessor> commandAccessor(command);
    EXPECT_EQ(commandAccessor->ReleaseAccessor(handle, nullptr), S_OK);
    CComQIPtr<IAccessor> rowsetAccessor(rowset);
    DBACCESSORFLAGS flags = 0;
    DBCOUNTITEM count = 0;
    DBBINDING* bindings = nullptr;
    ASSERT_EQ(rowsetAccessor->GetBindings(handle, &flags, &count, &bindings), S_OK);
    EXPECT_EQ(flags, DBACCESSOR_ROWDATA | DBACCESSOR_INHERITED);
    EXPECT_EQ(count, 1u);
    CoTaskMemFree(bindings);
    std::vector<HROW> rows = NextRows(rowset, 0, 1, S_OK);
    std::vector<BYTE> data(BindingSpan(64));
    EXPECT_EQ(rowset->GetData(rows[0], handle, data.data()), S_OK);
    EXPECT_EQ(WideAt(data, 0), u"member a");
    rowset->ReleaseRows(1, rows.data(), nullptr, nullptr, nullptr);
    DBREFCOUNT left = 9;
    EXPECT_EQ(rowsetAccessor->ReleaseAccessor(handle, &left), S_OK);
    EXPECT_EQ(left, 0u);
}

TEST(RowsetCreation, AggregatedRowsetDelegatesToItsOuterObject) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    TestOuter outer;
    IUnknown* inner = nullptr;
    ASSERT_EQ(command->Execute(&outer, IID_IUnknown, nullptr, nullptr, &inner), S_OK);
    ASSERT_NE(inner, nullptr);
    outer.inner = inner;
    IRowset* rowset = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IRowset, reinterpret_cast<void**>(&rowset)), S_OK);
    const ULONG before = outer.refs;
    IUnknown* identity = nullptr;
    ASSERT_EQ(rowset->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    EXPECT_GT(outer.refs, before);
    identity->Release();
    rowset->Release();
    EXPECT_EQ(inner->Release(), 0u);
}

TEST(RowsetCreation, EachObjectAggregates) {
    TestOuter sourceOuter;
    IUnknown* sourceInner = nullptr;
    ASSERT_EQ(
        CreateTestDataSource(&sourceOuter, IID_IUnknown, reinterpret_cast<void**>(&sourceInner)),
        S_OK);
    sourceOuter.inner = sourceInner;
    EXPECT_EQ(CreateTestDataSource(&sourceOuter, IID_IDBCreateSession, nullptr), E_POINTER);
    CComPtr<IDBCreateSession> source;
    ASSERT_EQ(sourceInner->QueryInterface(IID_IDBCreateSession, reinterpret_cast<void**>(&source)),
              S_OK);
    CComQIPtr<IDBInitialize> initialize(source);
    ASSERT_EQ(initialize->Initialize(), S_OK);
    initialize.Release();

    TestOuter sessionOuter;
    IUnknown* sessionInner = nullptr;
    auto* refused = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(source->CreateSession(&sessionOuter, IID_IDBCreateCommand, &refused),
              DB_E_NOAGGREGATION);
    ASSERT_EQ(source->CreateSession(&sessionOuter, IID_IUnknown, &sessionInner), S_OK);
    sessionOuter.inner = sessionInner;
    CComPtr<IDBCreateCommand> session;
    ASSERT_EQ(
        sessionInner->QueryInterface(IID_IDBCreateCommand, reinterpret_cast<void**>(&session)),
        S_OK);

    TestOuter commandOuter;
    IUnknown* commandInner = nullptr;
    ASSERT_EQ(session->CreateCommand(&commandOuter, IID_IUnknown, &commandInner), S_OK);
    commandOuter.inner = commandInner;
    CComPtr<ICommandText> command;
    ASSERT_EQ(commandInner->QueryInterface(IID_ICommandText, reinterpret_cast<void**>(&command)),
              S_OK);
    CComPtr<IUnknown> commandIdentity;
    command->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&commandIdentity));
    EXPECT_EQ(commandIdentity.p, static_cast<IUnknown*>(&commandOuter));

    // The command's site is the session object, which the command keeps alive.
    command.Release();
    commandIdentity.Release();
    EXPECT_EQ(commandInner->Release(), 0u);
    session.Release();
    EXPECT_EQ(sessionInner->Release(), 0u);
    source.Release();
    EXPECT_EQ(sourceInner->Release(), 0u);
}

VARIANT TextVariant(const char16_t* text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    return value;
}

TEST(SchemaRowsetCreation, RestrictionsReachExecuteAndRowsAreServed) {
    CComPtr<IDBCreateCommand> session = OpenSession();
    CComQIPtr<IDBSchemaRowset> schemas(session);
    ASSERT_TRUE(schemas);
    VARIANT restrictions[3];
    restrictions[0] = TextVariant(u"DEFAULT");
    VariantInit(&restrictions[1]);
    restrictions[2] = TextVariant(u"Sales");
    CComPtr<IRowset> rowset;
    ASSERT_EQ(schemas->GetRowset(nullptr, kTestSchemaGuid, 3, restrictions, IID_IRowset, 0, nullptr,
                                 reinterpret_cast<IUnknown**>(&rowset)),
              S_OK);
    for (VARIANT& value : restrictions) VariantClear(&value);
    const DBBINDING name = Binding(2, DBTYPE_WSTR, 0, 64);
    const DBBINDING level = Binding(3, DBTYPE_UI4, BindingSpan(64), 4);
    HACCESSOR accessor = MakeAccessor(rowset, {name, level});
    std::vector<HROW> rows = NextRows(rowset, 0, 5, DB_S_ENDOFROWSET);
    ASSERT_EQ(rows.size(), 2u);
    std::vector<BYTE> data(BindingSpan(64) + BindingSpan(4));
    ASSERT_EQ(rowset->GetData(rows[1], accessor, data.data()), S_OK);
    EXPECT_EQ(WideAt(data, 0), u"Sales");
    ULONG index = 0;
    std::memcpy(&index, data.data() + level.obValue, sizeof(index));
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(rowset->ReleaseRows(2, rows.data(), nullptr, nullptr, nullptr), S_OK);
    // The site of a schema rowset is the session.
    CComQIPtr<IObjectWithSite> withSite(rowset);
    CComPtr<IDBSchemaRowset> site;
    EXPECT_EQ(withSite->GetSite(IID_IDBSchemaRowset, reinterpret_cast<void**>(&site)), S_OK);
    EXPECT_EQ(site.p, schemas.p);
}

TEST(SchemaRowsetCreation, RefusalsAndProperties) {
    CComPtr<IDBCreateCommand> session = OpenSession();
    CComQIPtr<IDBSchemaRowset> schemas(session);
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, DBSCHEMA_TABLES, 0, nullptr, IID_IRowset, 0, nullptr, &rowset),
        E_INVALIDARG);
    EXPECT_EQ(rowset, nullptr);
    EXPECT_EQ(
        schemas->GetRowset(nullptr, kTestSchemaGuid, 1, nullptr, IID_IRowset, 0, nullptr, &rowset),
        E_INVALIDARG);
    // A required property the rowset does not know fails the call; an optional one is reported.
    DBPROP prop{};
    prop.dwPropertyID = 0x7777;
    prop.dwOptions = DBPROPOPTIONS_REQUIRED;
    VariantInit(&prop.vValue);
    DBPROPSET set{&prop, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(
        schemas->GetRowset(nullptr, kTestSchemaGuid, 0, nullptr, IID_IRowset, 1, &set, &rowset),
        DB_E_ERRORSOCCURRED);
    EXPECT_EQ(prop.dwStatus, static_cast<DBPROPSTATUS>(DBPROPSTATUS_NOTSUPPORTED));
    EXPECT_EQ(rowset, nullptr);
    prop.dwOptions = DBPROPOPTIONS_OPTIONAL;
    EXPECT_EQ(
        schemas->GetRowset(nullptr, kTestSchemaGuid, 0, nullptr, IID_IRowset, 1, &set, &rowset),
        DB_S_ERRORSOCCURRED);
    ASSERT_NE(rowset, nullptr);
    rowset->Release();
    // A known one is set: this rowset then refuses to hand out a row while one is held.
    prop.dwPropertyID = DBPROP_CANHOLDROWS;
    prop.dwOptions = DBPROPOPTIONS_REQUIRED;
    prop.vValue.vt = VT_BOOL;
    prop.vValue.boolVal = VARIANT_FALSE;
    VARIANT restriction = TextVariant(u"x");
    VARIANT two[2] = {restriction, restriction};
    CComPtr<IRowset> strict;
    ASSERT_EQ(schemas->GetRowset(nullptr, kTestSchemaGuid, 2, two, IID_IRowset, 1, &set,
                                 reinterpret_cast<IUnknown**>(&strict)),
              S_OK);
    EXPECT_EQ(prop.dwStatus, static_cast<DBPROPSTATUS>(DBPROPSTATUS_OK));
    VariantClear(&restriction);
    std::vector<HROW> a = NextRows(strict, 0, 1, S_OK);
    NextRows(strict, 0, 1, DB_E_ROWSNOTRELEASED);
    strict->ReleaseRows(1, a.data(), nullptr, nullptr, nullptr);
}

TEST(SchemaRowsetCreation, AggregatedSchemaRowset) {
    CComPtr<IDBCreateCommand> session = OpenSession();
    CComQIPtr<IDBSchemaRowset> schemas(session);
    TestOuter outer;
    auto* inner = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(
        schemas->GetRowset(&outer, kTestSchemaGuid, 0, nullptr, IID_IRowset, 0, nullptr, &inner),
        DB_E_NOAGGREGATION);
    EXPECT_EQ(inner, nullptr);
    ASSERT_EQ(
        schemas->GetRowset(&outer, kTestSchemaGuid, 0, nullptr, IID_IUnknown, 0, nullptr, &inner),
        S_OK);
    outer.inner = inner;
    IRowset* rowset = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IRowset, reinterpret_cast<void**>(&rowset)), S_OK);
    IUnknown* identity = nullptr;
    rowset->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    rowset->Release();
    EXPECT_EQ(inner->Release(), 0u);
}

}  // namespace

namespace {

bool RowsetBool(IUnknown* rowset, DBPROPID id) {
    CComQIPtr<IRowsetInfo> info(rowset);
    DBPROPID ids[1] = {id};
    DBPROPIDSET idSet{ids, 1, DBPROPSET_ROWSET};
    ULONG sets = 0;
    DBPROPSET* result = nullptr;
    EXPECT_EQ(info->GetProperties(1, &idSet, &sets, &result), S_OK);
    bool value = false;
    if (sets == 1 && result[0].cProperties == 1) {
        value = result[0].rgProperties[0].vValue.boolVal != VARIANT_FALSE;
        VariantClear(&result[0].rgProperties[0].vValue);
    }
    if (result != nullptr) CoTaskMemFree(result[0].rgProperties);
    CoTaskMemFree(result);
    return value;
}

TEST(RowsetCreation, RowsetInfoAnswersTheCopiedProperties) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    SetRowsetProperty(command, DBPROP_CANFETCHBACKWARDS, true);
    CComPtr<IRowset> rowset = ExecuteRowset(command);
    EXPECT_TRUE(RowsetBool(rowset, DBPROP_CANFETCHBACKWARDS));
    EXPECT_FALSE(RowsetBool(rowset, DBPROP_CANHOLDROWS));
    CComQIPtr<IRowsetInfo> info(rowset);
    CComPtr<ICommand> specification;
    EXPECT_EQ(info->GetSpecification(IID_ICommand, reinterpret_cast<IUnknown**>(&specification)),
              S_OK);
    CComQIPtr<ICommand> same(command);
    EXPECT_EQ(specification.p, same.p);

    // A schema rowset answers its own rowset properties, with the framework's defaults.
    CComPtr<IDBCreateCommand> session = OpenSession();
    CComQIPtr<IDBSchemaRowset> schemas(session);
    CComPtr<IRowset> schema;
    ASSERT_EQ(schemas->GetRowset(nullptr, kTestSchemaGuid, 0, nullptr, IID_IRowset, 0, nullptr,
                                 reinterpret_cast<IUnknown**>(&schema)),
              S_OK);
    EXPECT_TRUE(RowsetBool(schema, DBPROP_CANHOLDROWS));
    EXPECT_TRUE(RowsetBool(schema, DBPROP_IRowsetIdentity));
}

}  // namespace
