// Tests of the command bases: CreateCommand, the command text and its dialects, Cancel,
// GetDBSession, and CreateRowset's checks in their published order.
#include <gtest/gtest.h>

#include <string>

#include "oledb_test_provider.h"

namespace {

class OledbCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_oledbExecute = OledbExecuteRecord{};
        source = OledbNewDataSource();
        ASSERT_EQ(source->Initialize(), S_OK);
        session = OledbNewSession(source);
    }

    CComPtr<IDBInitialize> source;
    CComPtr<IUnknown> session;
};

std::u16string TakeText(LPOLESTR text) {
    std::u16string copy = text == nullptr ? u"<null>" : text;
    CoTaskMemFree(text);
    return copy;
}

}  // namespace

TEST_F(OledbCommandTest, CreateCommandRefusalsAndAggregation) {
    CComPtr<IDBCreateCommand> create = OledbQuery<IDBCreateCommand>(session);
    EXPECT_EQ(create->CreateCommand(nullptr, IID_ICommand, nullptr), E_INVALIDARG);
    OledbTestOuter outer;
    auto* command = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(create->CreateCommand(&outer, IID_ICommand, &command), DB_E_NOAGGREGATION);
    EXPECT_EQ(command, nullptr);
    EXPECT_EQ(create->CreateCommand(nullptr, IID_IRowset, &command), E_NOINTERFACE);
    EXPECT_EQ(command, nullptr);

    ASSERT_EQ(create->CreateCommand(&outer, IID_IUnknown, &command), S_OK);
    outer.inner = command;
    ICommandText* text = nullptr;
    ASSERT_EQ(command->QueryInterface(IID_ICommandText, reinterpret_cast<void**>(&text)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    EXPECT_EQ(text->SetCommandText(MDGUID_MDX, u"SELECT"), S_OK);
    // The command's session is the one that made it.
    IUnknown* owner = nullptr;
    ASSERT_EQ(text->GetDBSession(IID_IUnknown, &owner), S_OK);
    EXPECT_EQ(owner, session.p);
    owner->Release();
    text->Release();
    outer.inner = nullptr;
    command->Release();
    EXPECT_EQ(outer.refs, 1u);
}

TEST_F(OledbCommandTest, TextAndDialects) {
    CComPtr<ICommandText> command = OledbNewCommand(session, nullptr);
    GUID dialect = MDGUID_MDX;
    LPOLESTR text = reinterpret_cast<LPOLESTR>(0x1);
    EXPECT_EQ(command->GetCommandText(&dialect, &text), DB_E_NOCOMMAND);
    EXPECT_EQ(text, nullptr);
    EXPECT_TRUE(dialect == DB_NULLGUID);
    EXPECT_EQ(command->GetCommandText(&dialect, nullptr), E_INVALIDARG);

    EXPECT_EQ(command->SetCommandText(DBGUID_SQL, u"SELECT 1"), DB_E_DIALECTNOTSUPPORTED);
    EXPECT_EQ(command->GetCommandText(nullptr, &text), DB_E_NOCOMMAND);
    EXPECT_EQ(command->SetCommandText(MDGUID_MDX, u"SELECT {} ON 0 FROM [Sales]"), S_OK);
    dialect = DBGUID_DEFAULT;
    ASSERT_EQ(command->GetCommandText(&dialect, &text), S_OK);
    EXPECT_EQ(TakeText(text), u"SELECT {} ON 0 FROM [Sales]");
    EXPECT_TRUE(dialect == MDGUID_MDX);
    dialect = DBGUID_SQL;
    ASSERT_EQ(command->GetCommandText(&dialect, &text), DB_S_DIALECTIGNORED);
    EXPECT_EQ(TakeText(text), u"SELECT {} ON 0 FROM [Sales]");
    EXPECT_TRUE(dialect == MDGUID_MDX);
    ASSERT_EQ(command->GetCommandText(nullptr, &text), S_OK);
    TakeText(text);

    // An empty text is a text; a null one clears the command.
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u""), S_OK);
    dialect = GUID_NULL;
    ASSERT_EQ(command->GetCommandText(&dialect, &text), S_OK);
    EXPECT_EQ(TakeText(text), u"");
    EXPECT_TRUE(dialect == DBGUID_DEFAULT);
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, nullptr), S_OK);
    EXPECT_EQ(command->GetCommandText(nullptr, &text), DB_E_NOCOMMAND);
}

TEST_F(OledbCommandTest, CancelAndSession) {
    CComPtr<ICommandText> command = OledbNewCommand(session, u"SELECT");
    EXPECT_EQ(command->Cancel(), S_OK);
    EXPECT_EQ(command->GetDBSession(IID_IUnknown, nullptr), E_INVALIDARG);
    auto* other = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(command->GetDBSession(IID_IRowset, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    CComPtr<IDBSchemaRowset> schemas;
    EXPECT_EQ(command->GetDBSession(IID_IDBSchemaRowset, reinterpret_cast<IUnknown**>(&schemas)),
              S_OK);
    // Without a site the command has no session to name.
    ASSERT_EQ(OledbQuery<IObjectWithSite>(command)->SetSite(nullptr), S_OK);
    EXPECT_EQ(command->GetDBSession(IID_IUnknown, &other), S_FALSE);
    EXPECT_EQ(other, nullptr);
}

TEST_F(OledbCommandTest, CreateRowsetChecksInOrder) {
    CComPtr<ICommandText> command = OledbNewCommand(session, nullptr);
    OledbTestOuter outer;
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    // No text comes before everything, even a null ppRowset or IID_NULL.
    EXPECT_EQ(command->Execute(&outer, IID_IRowsetInfo, nullptr, nullptr, nullptr), DB_E_NOCOMMAND);
    EXPECT_EQ(command->Execute(nullptr, IID_NULL, nullptr, nullptr, &rowset), DB_E_NOCOMMAND);
    ASSERT_EQ(command->SetCommandText(DBGUID_DEFAULT, u""), S_OK);
    EXPECT_EQ(command->Execute(nullptr, IID_NULL, nullptr, nullptr, &rowset), DB_E_NOCOMMAND);
    EXPECT_EQ(rowset, reinterpret_cast<IUnknown*>(0x1)) << "nothing written";

    ASSERT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"SELECT"), S_OK);
    // IID_NULL: S_OK at once, nothing created or written.
    EXPECT_EQ(command->Execute(&outer, IID_NULL, nullptr, nullptr, &rowset), S_OK);
    EXPECT_EQ(rowset, reinterpret_cast<IUnknown*>(0x1));
    EXPECT_EQ(command->Execute(&outer, IID_NULL, nullptr, nullptr, nullptr), S_OK);
    // Then a null ppRowset, before aggregation.
    EXPECT_EQ(command->Execute(&outer, IID_IRowsetInfo, nullptr, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(command->Execute(&outer, IID_IRowsetInfo, nullptr, nullptr, &rowset),
              DB_E_NOAGGREGATION);
    EXPECT_EQ(rowset, nullptr);
    EXPECT_EQ(g_oledbExecute.executions, 0);

    // The rowset's own Execute failure is the answer, with nothing handed out.
    g_oledbExecute.result = DB_E_ERRORSINCOMMAND;
    rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(command->Execute(nullptr, IID_IRowsetInfo, nullptr, nullptr, &rowset),
              DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(rowset, nullptr);
    EXPECT_EQ(g_oledbExecute.executions, 1);
    // An interface the rowset does not have: its Execute ran, the rowset is gone.
    g_oledbExecute.result = S_OK;
    EXPECT_EQ(command->Execute(nullptr, IID_IRowset, nullptr, nullptr, &rowset), E_NOINTERFACE);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(OledbCommandTest, CreateRowsetHandsOverTextParametersAndCount) {
    CComPtr<ICommandText> command = OledbNewCommand(session, u"SELECT [Measures] ON 0");
    DBPARAMS params{};
    DBROWCOUNT affected = 5;
    CComPtr<IRowsetInfo> rowset;
    ASSERT_EQ(command->Execute(nullptr, IID_IRowsetInfo, &params, &affected,
                               reinterpret_cast<IUnknown**>(&rowset)),
              S_OK);
    EXPECT_EQ(g_oledbExecute.params, &params);
    EXPECT_EQ(g_oledbExecute.commandText, u"SELECT [Measures] ON 0");
    EXPECT_EQ(affected, 42);

    // Aggregated under IID_IUnknown.
    OledbTestOuter outer;
    IUnknown* inner = nullptr;
    ASSERT_EQ(command->Execute(&outer, IID_IUnknown, nullptr, nullptr, &inner), S_OK);
    outer.inner = inner;
    IRowsetInfo* info = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IRowsetInfo, reinterpret_cast<void**>(&info)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    info->Release();
    outer.inner = nullptr;
    inner->Release();
}

TEST_F(OledbCommandTest, LiveRowsetsLockTheCommand) {
    CComPtr<ICommandText> command = OledbNewCommand(session, u"SELECT");
    CComPtr<IRowsetInfo> first;
    CComPtr<IRowsetInfo> second;
    ASSERT_EQ(command->Execute(nullptr, IID_IRowsetInfo, nullptr, nullptr,
                               reinterpret_cast<IUnknown**>(&first)),
              S_OK);
    ASSERT_EQ(command->Execute(nullptr, IID_IRowsetInfo, nullptr, nullptr,
                               reinterpret_cast<IUnknown**>(&second)),
              S_OK);
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"other"), DB_E_OBJECTOPEN);
    first = nullptr;
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"other"), DB_E_OBJECTOPEN);
    second = nullptr;
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"other"), S_OK);
    // A rowset that failed its Execute holds nothing open.
    g_oledbExecute.result = E_FAIL;
    IUnknown* failed = nullptr;
    EXPECT_EQ(command->Execute(nullptr, IID_IRowsetInfo, nullptr, nullptr, &failed), E_FAIL);
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"again"), S_OK);
}

TEST_F(OledbCommandTest, OpenRowsetsLockTextAndProperties) {
    CComPtr<ICommandText> command = OledbNewCommand(session, u"SELECT");
    CComPtr<IInternalConnection> connection = OledbQuery<IInternalConnection>(command);
    ASSERT_EQ(connection->AddConnection(), S_OK);
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"other"), DB_E_OBJECTOPEN);
    DBPROP prop{};
    prop.dwPropertyID = DBPROP_CANHOLDROWS;
    prop.vValue.vt = VT_BOOL;
    prop.vValue.boolVal = VARIANT_FALSE;
    DBPROPSET set{&prop, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(OledbQuery<ICommandProperties>(command)->SetProperties(1, &set), DB_E_OBJECTOPEN);
    ASSERT_EQ(connection->ReleaseConnection(), S_OK);
    EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"other"), S_OK);
    EXPECT_EQ(OledbQuery<ICommandProperties>(command)->SetProperties(1, &set), S_OK);
    EXPECT_EQ(connection->ReleaseConnection(), E_UNEXPECTED);
}
