// ZelmoCommand through the exports: Execute's outcomes, the result it keeps and hands out, and
// its column information, against the stand-in service.
#include "client/rest_data.h"
#include "command_test_answers.h"
#include "tools/standin/gzip_text.h"

namespace results_test {
namespace {

using CommandIt = ResultsTest;

TEST_F(CommandIt, FailedRequestGivesEFailAndKeepsTheFailedResult) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd good", SampleAnswer());
    CComPtr<IUnknown> rowset;
    ASSERT_EQ(Run(command, "cmd good", IID_IUnknown, &rowset), S_OK);
    RESTData* first = ResultOf(command);
    ASSERT_NE(first, nullptr);
    // A live rowset keeps the command's text.
    EXPECT_EQ(command->SetCommandText(MDGUID_MDX, u"other"), DB_E_OBJECTOPEN);
    rowset = nullptr;

    CComPtr<IUnknown> none;
    // The stand-in answers an unknown statement with an error page.
    EXPECT_EQ(Run(command, "cmd unknown statement", IID_IUnknown, &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    RESTData* failed = ResultOf(command);
    ASSERT_NE(failed, nullptr);
    EXPECT_NE(failed, first);
    EXPECT_EQ(failed->GetStatus(), 0);
}

TEST_F(CommandIt, ErrorAnswersFailAndTheNextStatementIsAnswered) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd after error", SampleAnswer());
    const std::string error = R"({"error": "the service could not answer"})";
    for (const int status : {400, 401, 500, 503}) {
        for (const bool compressed : {true, false}) {
            const std::string why = std::to_string(status) + (compressed ? " gzip" : " plain");
            Standin().SetFault(
                "/api/models/mdx",
                {StandinFaultKind::kErrorStatus, status, compressed ? GzipText(error) : error, {}});
            CComPtr<IUnknown> none;
            EXPECT_EQ(Run(command, "cmd after error", IID_IUnknown, &none), E_FAIL) << why;
            EXPECT_EQ(none, nullptr) << why;
            Standin().ClearFaults();
            CComPtr<IUnknown> rowset;
            EXPECT_EQ(Run(command, "cmd after error", IID_IUnknown, &rowset), S_OK) << why;
        }
    }
}

TEST_F(CommandIt, NoTextAnswersNoCommandWithoutSendingAStatement) {
    CComPtr<ICommandText> command = NewCommand();
    EXPECT_EQ(ResultOf(command), nullptr);
    const size_t before = MdxRequests();
    CComPtr<IUnknown> rowset;
    EXPECT_EQ(command->Execute(nullptr, IID_IUnknown, nullptr, nullptr, &rowset), DB_E_NOCOMMAND);
    ASSERT_EQ(command->SetCommandText(MDGUID_MDX, nullptr), S_OK);
    EXPECT_EQ(command->Execute(nullptr, IID_IUnknown, nullptr, nullptr, &rowset), DB_E_NOCOMMAND);
    EXPECT_EQ(MdxRequests(), before);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(CommandIt, EmptyTextIsSent) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IUnknown> rowset;
    Standin().SetMdxAnswer("", SampleAnswer());
    const size_t before = MdxRequests();
    // A good answer to an empty statement meets the framework's empty-text check.
    EXPECT_EQ(Run(command, "", IID_IUnknown, &rowset), DB_E_NOCOMMAND);
    EXPECT_EQ(MdxRequests(), before + 1);
    EXPECT_EQ(Run(command, "", IID_NULL, &rowset), DB_E_NOCOMMAND);
    Standin().SetMdxBody("", "not gzip");
    EXPECT_EQ(Run(command, "", IID_IUnknown, &rowset), E_FAIL);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(CommandIt, IidNullRunsTheQueryAndCreatesNothing) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd null iid", SampleAnswer());
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    DBROWCOUNT rows = -7;
    EXPECT_EQ(Run(command, "cmd null iid", IID_NULL, &rowset, &rows), S_OK);
    EXPECT_EQ(rowset, nullptr);
    EXPECT_EQ(rows, -7);
    RESTData* result = ResultOf(command);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetStatus(), 1);
    EXPECT_EQ(result->GetCellTable().GetValues().size(), 6u);
}

TEST_F(CommandIt, NullRowsetPointerFailsAfterTheQueryRan) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd null out", SampleAnswer());
    const size_t before = MdxRequests();
    EXPECT_EQ(Run(command, "cmd null out", IID_IMDDataset, nullptr), E_INVALIDARG);
    EXPECT_EQ(MdxRequests(), before + 1);
    EXPECT_NE(ResultOf(command), nullptr);
}

TEST_F(CommandIt, AggregationNeedsIUnknown) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd aggregate", SampleAnswer());
    ASSERT_EQ(command->SetCommandText(MDGUID_MDX, u"cmd aggregate"), S_OK);
    // Any object serves as the outer unknown; the dataset never reaches it for DB_E_NOAGGREGATION.
    CComPtr<IDBInitialize> outer = CreateDataSource();
    CComPtr<IUnknown> rowset;
    EXPECT_EQ(command->Execute(outer, IID_IMDDataset, nullptr, nullptr, &rowset),
              DB_E_NOAGGREGATION);
    EXPECT_EQ(rowset, nullptr);
}

// A controlling object that hands out its inner object's interfaces.
class OuterObject : public IUnknown {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override { return --references; }

    CComPtr<IUnknown> inner;
    ULONG references = 1;
};

TEST_F(CommandIt, AggregatedDatasetAnswersThroughItsOuterObject) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd aggregated", SampleAnswer());
    OuterObject outer;
    ASSERT_EQ(command->SetCommandText(MDGUID_MDX, u"cmd aggregated"), S_OK);
    ASSERT_EQ(command->Execute(&outer, IID_IUnknown, nullptr, nullptr, &outer.inner), S_OK);
    IMDDataset* dataset = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_IMDDataset, reinterpret_cast<void**>(&dataset)), S_OK);
    const ULONG held = outer.references;
    DBCOUNTITEM count = 0;
    MDAXISINFO* info = nullptr;
    ASSERT_EQ(dataset->GetAxisInfo(&count, &info), S_OK);
    EXPECT_EQ(count, 2u);
    dataset->FreeAxisInfo(count, info);
    // The dataset's references are the outer object's.
    dataset->Release();
    EXPECT_EQ(outer.references, held - 1);
    outer.inner = nullptr;
}

TEST_F(CommandIt, DrillThroughAnswerMakesTheTabularRowsetWhateverTheInterface) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("cmd drill", DrillThroughJson({"A", "Amount"}, {{"x", "1"}}, 1, 2));
    CComPtr<IUnknown> dataset;
    EXPECT_EQ(Run(command, "cmd drill", IID_IMDDataset, &dataset), E_NOINTERFACE);
    CComPtr<IRowset> rowset;
    DBROWCOUNT rows = 0;
    ASSERT_EQ(Run(command, "cmd drill", IID_IRowset, reinterpret_cast<IUnknown**>(&rowset), &rows),
              S_OK);
    EXPECT_EQ(rows, 1);
    EXPECT_FALSE(CComQIPtr<IMDDataset>(rowset));
    rowset = nullptr;

    Standin().SetMdxAnswer("cmd ordinary", SampleAnswer());
    CComPtr<IRowset> flat;
    ASSERT_EQ(Run(command, "cmd ordinary", IID_IRowset, reinterpret_cast<IUnknown**>(&flat)), S_OK);
    EXPECT_TRUE(CComQIPtr<IMDDataset>(flat));
}

TEST_F(CommandIt, ColumnsInfoListsTheCellColumnsWhateverTheStatement) {
    CComPtr<ICommandText> command = NewCommand();
    CComQIPtr<IColumnsInfo> info(command);
    ASSERT_TRUE(info);
    DBORDINAL count = 0;
    DBCOLUMNINFO* columns = nullptr;
    OLECHAR* strings = nullptr;
    EXPECT_EQ(info->GetColumnInfo(&count, &columns, &strings), DB_E_NOCOMMAND);
    ASSERT_EQ(command->SetCommandText(MDGUID_MDX, u"drillthrough select"), S_OK);
    ASSERT_EQ(info->GetColumnInfo(&count, &columns, &strings), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(std::u16string(columns[0].pwszName), u"VALUE");
    EXPECT_EQ(columns[0].wType, DBTYPE_VARIANT);
    EXPECT_EQ(columns[0].ulColumnSize, sizeof(VARIANT));
    EXPECT_EQ(columns[0].columnid.eKind, DBKIND_NAME);
    EXPECT_EQ(std::u16string(columns[1].pwszName), u"CELL_ORDINAL");
    EXPECT_EQ(columns[1].wType, DBTYPE_UI4);
    EXPECT_EQ(columns[1].ulColumnSize, 4u);
    EXPECT_EQ(columns[1].dwFlags, static_cast<DBCOLUMNFLAGS>(DBCOLUMNFLAGS_ISFIXEDLENGTH));
    CoTaskMemFree(columns);
    CoTaskMemFree(strings);
}

TEST_F(CommandIt, ResultTakesTheDataSourceDisplayOption) {
    Standin().SetMdxAnswer("cmd option", SampleAnswer());
    for (const char16_t* option : {u"0", u"1", u"7"}) {
        CComPtr<ICommandText> command = NewCommand(option);
        CComPtr<IUnknown> rowset;
        ASSERT_EQ(Run(command, "cmd option", IID_NULL, &rowset), S_OK);
        ASSERT_NE(ResultOf(command), nullptr);
        EXPECT_EQ(ResultOf(command)->GetMemberDisplayOption(), option[0] - u'0');
    }
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IUnknown> rowset;
    ASSERT_EQ(Run(command, "cmd option", IID_NULL, &rowset), S_OK);
    EXPECT_EQ(ResultOf(command)->GetMemberDisplayOption(), 2);
}

TEST_F(CommandIt, InterfaceMapAndErrorInfo) {
    CComPtr<ICommandText> command = NewCommand();
    CComQIPtr<ICommand> asCommand(command);
    EXPECT_EQ(static_cast<IUnknown*>(asCommand.p), static_cast<IUnknown*>(command.p));
    for (const IID* iid : {&IID_IObjectWithSite, &IID_IAccessor, &IID_ICommandProperties,
                           &IID_IColumnsInfo, &IID_IConvertType, &IID_IInternalConnection,
                           &IID_IExtendCommand, &IID_ISupportErrorInfo}) {
        CComPtr<IUnknown> itf;
        EXPECT_EQ(command->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
    }
    CComQIPtr<ISupportErrorInfo> errorInfo(command);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IRowset), S_OK);
}

}  // namespace
}  // namespace results_test
