// ZelmoRowset through the exports: axis information, cell data through VARIANT and other
// bindings, rows affected, and a dataset that outlives a later Execute of its command.
#include "command_test_answers.h"

namespace results_test {
namespace {

using DatasetIt = ResultsTest;

// VALUE and CELL_ORDINAL as VARIANTs, with their statuses.
constexpr DBLENGTH kRowSize = 64;
const std::vector<DBBINDING> kCellBindings = {Binding(1, DBTYPE_VARIANT, 0, 48),
                                              Binding(2, DBTYPE_VARIANT, 24, 52)};

std::u16string BstrText(BSTR text) {
    return text == nullptr ? u"<null>" : std::u16string(text, SysStringLen(text));
}

TEST_F(DatasetIt, AxisInfoDescribesEveryAxis) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "ds axis info", SampleAnswer());
    ASSERT_TRUE(dataset);
    DBCOUNTITEM count = 0;
    MDAXISINFO* info = nullptr;
    ASSERT_EQ(dataset->GetAxisInfo(&count, &info), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(info[0].cbSize, sizeof(MDAXISINFO));
    EXPECT_EQ(info[0].iAxis, MDAXIS_COLUMNS);
    EXPECT_EQ(info[0].cDimensions, 1u);
    EXPECT_EQ(info[0].cCoordinates, 2u);
    EXPECT_EQ(info[0].rgcColumns[0], 5u);
    EXPECT_EQ(std::u16string(info[0].rgpwszDimensionNames[0]), u"Account");
    EXPECT_EQ(info[1].iAxis, MDAXIS_ROWS);
    EXPECT_EQ(info[1].cCoordinates, 3u);
    EXPECT_EQ(info[1].rgcColumns[0], 8u);
    EXPECT_EQ(std::u16string(info[1].rgpwszDimensionNames[0]), u"Product");
    // Every call makes its own array.
    DBCOUNTITEM again = 0;
    MDAXISINFO* other = nullptr;
    ASSERT_EQ(dataset->GetAxisInfo(&again, &other), S_OK);
    EXPECT_NE(other, info);
    EXPECT_EQ(dataset->FreeAxisInfo(count, info), S_OK);
    EXPECT_EQ(dataset->FreeAxisInfo(again, other), S_OK);
}

TEST_F(DatasetIt, AxisInfoArgumentsAndAnAnswerWithoutAxes) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset =
        Dataset(command, "ds no axes", AnswerJson(1, 1, {"5"}, std::vector<std::string>{}));
    ASSERT_TRUE(dataset);
    DBCOUNTITEM count = 9;
    auto* info = reinterpret_cast<MDAXISINFO*>(0x1);
    ASSERT_EQ(dataset->GetAxisInfo(&count, &info), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(dataset->FreeAxisInfo(0, nullptr), S_OK);
    EXPECT_EQ(dataset->GetAxisInfo(nullptr, &info), E_INVALIDARG);
    EXPECT_EQ(dataset->GetAxisInfo(&count, nullptr), E_INVALIDARG);
}

TEST_F(DatasetIt, CellDataThroughVariantBindings) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "ds cells", SampleAnswer());
    ASSERT_TRUE(dataset);
    HACCESSOR accessor = Accessor(dataset, kCellBindings, kRowSize);
    std::vector<BYTE> data(7 * kRowSize, 0);
    ASSERT_EQ(dataset->GetCellData(accessor, 0, 6, data.data()), S_OK);
    auto row = [&](size_t c) { return data.data() + c * kRowSize; };
    EXPECT_EQ(ValueAt<VARIANT>(row(0), 0).vt, VT_R8);
    EXPECT_EQ(ValueAt<VARIANT>(row(0), 0).dblVal, 12.5);
    EXPECT_EQ(ValueAt<VARIANT>(row(1), 0).dblVal, -300.0);
    EXPECT_EQ(ValueAt<VARIANT>(row(2), 0).dblVal, 7.0);
    EXPECT_EQ(ValueAt<VARIANT>(row(4), 0).vt, VT_R8);
    EXPECT_EQ(ValueAt<VARIANT>(row(4), 0).dblVal, 0.0);
    for (size_t c : {3u, 5u, 6u}) {
        auto text = ValueAt<VARIANT>(row(c), 0);
        EXPECT_EQ(text.vt, VT_BSTR);
        EXPECT_EQ(BstrText(text.bstrVal), c == 3 ? u"abc" : c == 5 ? u"1e999" : u"<null>");
        VariantClear(&text);
    }
    for (size_t c = 0; c < 7; ++c) {
        EXPECT_EQ(ValueAt<VARIANT>(row(c), 24).vt, VT_I4);
        EXPECT_EQ(ValueAt<VARIANT>(row(c), 24).lVal, static_cast<LONG>(c));
        EXPECT_EQ(ValueAt<DBSTATUS>(row(c), 48), DBSTATUS_S_OK);
        EXPECT_EQ(ValueAt<DBSTATUS>(row(c), 52), DBSTATUS_S_OK);
    }
}

TEST_F(DatasetIt, RowsFollowTheAccessorsRowSize) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "ds row size", SampleAnswer());
    ASSERT_TRUE(dataset);
    HACCESSOR accessor = Accessor(dataset, {Binding(2, DBTYPE_VARIANT, 0, 24)}, 40);
    std::vector<BYTE> data(120, 0xEE);
    ASSERT_EQ(dataset->GetCellData(accessor, 2, 4, data.data()), S_OK);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 0).lVal, 2);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 40).vt, VT_I4);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 40).lVal, 3);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 80).lVal, 4);
    // A start past the end reads nothing and writes nothing.
    std::vector<BYTE> untouched(40, 0xEE);
    EXPECT_EQ(dataset->GetCellData(accessor, 5, 4, untouched.data()), S_OK);
    EXPECT_EQ(untouched[0], 0xEE);
}

TEST_F(DatasetIt, OtherBindingsGetStatuses) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "ds other bindings", SampleAnswer());
    ASSERT_TRUE(dataset);
    HACCESSOR accessor =
        Accessor(dataset,
                 {Binding(2, DBTYPE_UI4, 0, 8),
                  Binding(1, DBTYPE_WSTR, 16, 12, 0, DBPART_VALUE | DBPART_STATUS),
                  Binding(1, DBTYPE_VARIANT, 40, 64, 72, DBPART_STATUS | DBPART_LENGTH)},
                 2112);
    std::vector<BYTE> data(2112, 0);
    ASSERT_EQ(dataset->GetCellData(accessor, 0, 0, data.data()), S_OK);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 8), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(ValueAt<ULONG>(data.data(), 0), 0u);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 12), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 64), DBSTATUS_S_OK);
    EXPECT_EQ(ValueAt<DBLENGTH>(data.data(), 72), 4u);
}

TEST_F(DatasetIt, CommandAccessorsReachTheDatasetUnchecked) {
    CComPtr<ICommandText> command = NewCommand();
    // Made on the command, so CreateAccessor never saw the columns: ordinal 3 passes.
    HACCESSOR accessor = Accessor(
        command, {Binding(3, DBTYPE_VARIANT, 0, 48), Binding(1, DBTYPE_VARIANT, 24, 52)}, 64);
    CComPtr<IMDDataset> dataset = Dataset(command, "ds command accessor", SampleAnswer());
    ASSERT_TRUE(dataset);
    std::vector<BYTE> data(kRowSize, 0);
    EXPECT_EQ(dataset->GetCellData(accessor, 1, 1, data.data()), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 48), DBSTATUS_E_BADACCESSOR);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 52), DBSTATUS_S_OK);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 24).dblVal, -300.0);
}

TEST_F(DatasetIt, ForeignHandlesAndMissingBuffersAreRefused) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "ds foreign", SampleAnswer());
    ASSERT_TRUE(dataset);
    std::vector<BYTE> data(kRowSize, 0);
    EXPECT_EQ(dataset->GetCellData(DB_NULL_HACCESSOR, 0, 0, data.data()), DB_E_BADACCESSORHANDLE);
    EXPECT_EQ(dataset->GetCellData(static_cast<HACCESSOR>(0x1234), 0, 0, data.data()),
              DB_E_BADACCESSORHANDLE);
    // An accessor of another dataset of the same command.
    CComPtr<IMDDataset> other;
    ASSERT_EQ(command->Execute(nullptr, IID_IMDDataset, nullptr, nullptr,
                               reinterpret_cast<IUnknown**>(&other)),
              S_OK);
    HACCESSOR foreign = Accessor(other, kCellBindings, kRowSize);
    EXPECT_EQ(dataset->GetCellData(foreign, 0, 0, data.data()), DB_E_BADACCESSORHANDLE);
    HACCESSOR accessor = Accessor(dataset, kCellBindings, kRowSize);
    EXPECT_EQ(dataset->GetCellData(accessor, 0, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(dataset->GetCellData(accessor, 1, 0, nullptr), S_OK);
    CComQIPtr<IAccessor> accessors(dataset);
    DBREFCOUNT left = 9;
    ASSERT_EQ(accessors->ReleaseAccessor(accessor, &left), S_OK);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(dataset->GetCellData(accessor, 0, 0, data.data()), DB_E_BADACCESSORHANDLE);
}

TEST_F(DatasetIt, ResultWithoutCellsFailsTheValueReads) {
    CComPtr<ICommandText> command = NewCommand();
    DBROWCOUNT rows = -1;
    Standin().SetMdxAnswer("ds no cells", AnswerJson(0, 2, {"1", "2"}, {}));
    CComPtr<IMDDataset> dataset;
    ASSERT_EQ(
        Run(command, "ds no cells", IID_IMDDataset, reinterpret_cast<IUnknown**>(&dataset), &rows),
        S_OK);
    EXPECT_EQ(rows, 0);
    HACCESSOR accessor = Accessor(dataset, kCellBindings, kRowSize);
    std::vector<BYTE> data(kRowSize, 0);
    EXPECT_EQ(dataset->GetCellData(accessor, 0, 0, data.data()), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 48), DBSTATUS_E_UNAVAILABLE);
    EXPECT_EQ(ValueAt<DBSTATUS>(data.data(), 52), DBSTATUS_S_OK);
}

TEST_F(DatasetIt, RowsAffectedCountsTheCellValues) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("ds rows", SampleAnswer());
    CComPtr<IUnknown> dataset;
    DBROWCOUNT rows = -1;
    ASSERT_EQ(Run(command, "ds rows", IID_IUnknown, &dataset, &rows), S_OK);
    EXPECT_EQ(rows, 6);
    // Read as a flat rowset, the dataset has no rows.
    CComQIPtr<IRowset> flat(dataset);
    ASSERT_TRUE(flat);
    DBCOUNTITEM obtained = 9;
    HROW* handles = nullptr;
    EXPECT_EQ(flat->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &handles), DB_S_ENDOFROWSET);
    EXPECT_EQ(obtained, 0u);
    CoTaskMemFree(handles);
}

TEST_F(DatasetIt, InterfacesAndSpecificationThroughEitherInterface) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "ds specification", SampleAnswer());
    ASSERT_TRUE(dataset);
    CComPtr<IUnknown> specification;
    EXPECT_EQ(dataset->GetSpecification(IID_ICommand, &specification), E_NOTIMPL);
    CComQIPtr<IRowsetInfo> info(dataset);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->GetSpecification(IID_ICommand, &specification), E_NOTIMPL);
    EXPECT_EQ(specification, nullptr);
    for (const IID* iid :
         {&IID_IRowsetInfo, &IID_IAccessor, &IID_IObjectWithSite, &IID_IColumnsInfo,
          &IID_IConvertType, &IID_IRowsetIdentity, &IID_IRowset}) {
        CComPtr<IUnknown> itf;
        EXPECT_EQ(dataset->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
    }
    CComPtr<IUnknown> records;
    EXPECT_EQ(dataset->QueryInterface(IID_IErrorRecords, reinterpret_cast<void**>(&records)),
              E_NOINTERFACE);
}

TEST_F(DatasetIt, ResultObjectsTakeTheCommandsRowsetProperties) {
    CComPtr<ICommandText> command = NewCommand();
    provider_test::PropertySet rowsetSet(DBPROPSET_ROWSET);
    rowsetSet.Add(DBPROP_CANHOLDROWS, CComVariant(false));
    DBPROPSET set = rowsetSet.Set();
    CComQIPtr<ICommandProperties> properties(command);
    ASSERT_EQ(properties->SetProperties(1, &set), S_OK);
    CComPtr<IMDDataset> dataset = Dataset(command, "ds properties", SampleAnswer());
    ASSERT_TRUE(dataset);
    CComPtr<IRowsetInfo> axis;
    ASSERT_EQ(dataset->GetAxisRowset(nullptr, MDAXIS_ROWS, IID_IRowsetInfo, 0, nullptr,
                                     reinterpret_cast<IUnknown**>(&axis)),
              S_OK);
    for (IUnknown* object : {static_cast<IUnknown*>(dataset.p), static_cast<IUnknown*>(axis.p)}) {
        CComQIPtr<IRowsetInfo> info(object);
        ULONG count = 0;
        DBPROPSET* sets = nullptr;
        ASSERT_EQ(info->GetProperties(0, nullptr, &count, &sets), S_OK);
        ASSERT_EQ(count, 1u);
        EXPECT_EQ(sets[0].guidPropertySet, DBPROPSET_ROWSET);
        EXPECT_EQ(sets[0].cProperties, 16u);
        for (ULONG p = 0; p < sets[0].cProperties; ++p) {
            const DBPROP& prop = sets[0].rgProperties[p];
            if (prop.dwPropertyID == DBPROP_CANHOLDROWS) {
                EXPECT_EQ(prop.vValue.boolVal, VARIANT_FALSE);
            } else if (prop.dwPropertyID == DBPROP_IRowset) {
                EXPECT_EQ(prop.vValue.boolVal, VARIANT_TRUE);
            }
        }
        provider_test::FreePropertySets(count, sets);
    }
}

TEST_F(DatasetIt, EarlierDatasetOutlivesALaterExecute) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> first = Dataset(command, "ds twice", SampleAnswer());
    ASSERT_TRUE(first);
    // The same statement answered differently the second time; the text stays, so the
    // command runs again while the first dataset lives.
    Standin().SetMdxAnswer("ds twice", AnswerJson(1, 1, {"99"}, {}));
    CComPtr<IMDDataset> second;
    ASSERT_EQ(command->Execute(nullptr, IID_IMDDataset, nullptr, nullptr,
                               reinterpret_cast<IUnknown**>(&second)),
              S_OK);
    DBCOUNTITEM count = 0;
    MDAXISINFO* info = nullptr;
    ASSERT_EQ(first->GetAxisInfo(&count, &info), S_OK);
    EXPECT_EQ(count, 2u);
    first->FreeAxisInfo(count, info);
    HACCESSOR accessor = Accessor(first, kCellBindings, kRowSize);
    std::vector<BYTE> data(kRowSize, 0);
    ASSERT_EQ(first->GetCellData(accessor, 0, 0, data.data()), S_OK);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 0).dblVal, 12.5);
    HACCESSOR latest = Accessor(second, kCellBindings, kRowSize);
    ASSERT_EQ(second->GetCellData(latest, 0, 0, data.data()), S_OK);
    EXPECT_EQ(ValueAt<VARIANT>(data.data(), 0).dblVal, 99.0);
    // The command itself is released before the first dataset.
    command = nullptr;
    second = nullptr;
    ASSERT_EQ(first->GetCellData(accessor, 3, 3, data.data()), S_OK);
    auto text = ValueAt<VARIANT>(data.data(), 0);
    EXPECT_EQ(BstrText(text.bstrVal), u"abc");
    VariantClear(&text);
}

}  // namespace
}  // namespace results_test
