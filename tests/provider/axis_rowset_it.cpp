// CAxisRowset through the exports: IMDDataset::GetAxisRowset, its columns and rows, captions by
// the data source's member display option, and axis numbers that do not exist.
#include "command_test_answers.h"

namespace results_test {
namespace {

using AxisRowsetIt = ResultsTest;

CComPtr<IRowset> AxisRowset(IMDDataset* dataset, DBCOUNTITEM axis, HRESULT expected = S_OK) {
    CComPtr<IRowset> rowset;
    EXPECT_EQ(dataset->GetAxisRowset(nullptr, axis, IID_IRowset, 0, nullptr,
                                     reinterpret_cast<IUnknown**>(&rowset)),
              expected);
    return rowset;
}

struct ColumnList {
    DBORDINAL count = 0;
    DBCOLUMNINFO* info = nullptr;
    OLECHAR* strings = nullptr;
    ~ColumnList() {
        CoTaskMemFree(info);
        CoTaskMemFree(strings);
    }
};

// The nine columns of the sample's Product dimension, each in its own place.
constexpr size_t kTextBytes = 2048;
constexpr size_t kStatuses = 20 + 5 * kTextBytes;
const std::vector<DBBINDING> kProductBindings = {
    Binding(1, DBTYPE_UI4, 0, kStatuses),
    Binding(2, DBTYPE_WSTR, 8, kStatuses + 4),
    Binding(3, DBTYPE_WSTR, 8 + kTextBytes, kStatuses + 8),
    Binding(4, DBTYPE_WSTR, 8 + 2 * kTextBytes, kStatuses + 12),
    Binding(5, DBTYPE_I4, 8 + 3 * kTextBytes, kStatuses + 16),
    Binding(6, DBTYPE_UI4, 12 + 3 * kTextBytes, kStatuses + 20),
    Binding(7, DBTYPE_WSTR, 16 + 3 * kTextBytes, kStatuses + 24),
    Binding(8, DBTYPE_WSTR, 16 + 4 * kTextBytes, kStatuses + 28),
    Binding(9, DBTYPE_I4, 16 + 5 * kTextBytes, kStatuses + 32),
};
constexpr size_t kProductRowSize = kStatuses + 36;

TEST_F(AxisRowsetIt, ColumnsNameEachDimensionsMemberProperties) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "axis columns", SampleAnswer());
    ASSERT_TRUE(dataset);
    CComPtr<IRowset> rows = AxisRowset(dataset, MDAXIS_ROWS);
    ASSERT_TRUE(rows);
    CComQIPtr<IColumnsInfo> info(rows);
    ColumnList columns;
    ASSERT_EQ(info->GetColumnInfo(&columns.count, &columns.info, &columns.strings), S_OK);
    ASSERT_EQ(columns.count, 9u);
    const char16_t* names[] = {u"TUPLE_ORDINAL",
                               u"[Product].[MEMBER_UNIQUE_NAME]",
                               u"[Product].[MEMBER_CAPTION]",
                               u"[Product].[LEVEL_UNIQUE_NAME]",
                               u"[Product].[LEVEL_NUMBER]",
                               u"[Product].[DISPLAY_INFO]",
                               u"[Product].[PARENT_UNIQUE_NAME]",
                               u"[Product].[MEMBER_NAME]",
                               u"[Product].[MEMBER_TYPE]"};
    const DBTYPE types[] = {DBTYPE_UI4, DBTYPE_WSTR, DBTYPE_WSTR, DBTYPE_WSTR, DBTYPE_I4,
                            DBTYPE_UI4, DBTYPE_WSTR, DBTYPE_WSTR, DBTYPE_I4};
    for (DBORDINAL c = 0; c < 9; ++c) {
        EXPECT_EQ(std::u16string(columns.info[c].pwszName), names[c]);
        EXPECT_EQ(columns.info[c].wType, types[c]);
        EXPECT_EQ(columns.info[c].iOrdinal, c + 1);
        EXPECT_EQ(columns.info[c].ulColumnSize, types[c] == DBTYPE_WSTR ? 2048u : 4u);
    }
    CComPtr<IRowset> account = AxisRowset(dataset, MDAXIS_COLUMNS);
    ASSERT_TRUE(account);
    CComQIPtr<IColumnsInfo> accountInfo(account);
    ColumnList accountColumns;
    ASSERT_EQ(accountInfo->GetColumnInfo(&accountColumns.count, &accountColumns.info,
                                         &accountColumns.strings),
              S_OK);
    EXPECT_EQ(accountColumns.count, 6u);
}

TEST_F(AxisRowsetIt, RowsNameEachTuplesMembers) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "axis rows", SampleAnswer());
    ASSERT_TRUE(dataset);
    CComPtr<IRowset> rowset = AxisRowset(dataset, MDAXIS_ROWS);
    ASSERT_TRUE(rowset);
    HACCESSOR accessor = Accessor(rowset, kProductBindings, kProductRowSize);
    const auto rows = ReadAllRows(rowset, accessor, kProductRowSize);
    ASSERT_EQ(rows.size(), 3u);
    const BYTE* widget = rows[0].data();
    EXPECT_EQ(ValueAt<ULONG>(widget, 0), 0u);
    EXPECT_EQ(Text(widget + 8), u"[Product <3>].[All <0>].[Widget <p1>]");
    EXPECT_EQ(Text(widget + 8 + kTextBytes), u"Widget (W1)");
    EXPECT_EQ(Text(widget + 8 + 2 * kTextBytes), u"[Product <3>].[Category]");
    EXPECT_EQ(ValueAt<LONG>(widget, 8 + 3 * kTextBytes), 1);
    EXPECT_EQ(ValueAt<ULONG>(widget, 12 + 3 * kTextBytes), 2u);
    EXPECT_EQ(Text(widget + 16 + 3 * kTextBytes), u"[Product <3>].[All <0>]");
    EXPECT_EQ(Text(widget + 16 + 4 * kTextBytes), u"[Product <3>].[All <0>].[Widget <p1>]");
    EXPECT_EQ(ValueAt<LONG>(widget, 16 + 5 * kTextBytes), MDMEMBER_TYPE_REGULAR);
    const BYTE* gadget = rows[1].data();
    EXPECT_EQ(ValueAt<ULONG>(gadget, 0), 1u);
    EXPECT_EQ(Text(gadget + 8), u"[Product <3>].[Gadget <p2>]");
    // Same parent as the member before it, and no parent name.
    EXPECT_EQ(ValueAt<ULONG>(gadget, 12 + 3 * kTextBytes), 0x30000u);
    const BYTE* third = rows[2].data();
    EXPECT_EQ(Text(third + 8), u"[Product <3>].[A|1| <p3>]");
    // An alias of blanks only is no alias.
    EXPECT_EQ(Text(third + 8 + kTextBytes), u"A[1]");
    EXPECT_EQ(Text(third + 8 + 2 * kTextBytes), u"[Product <3>].[(All)]");
    EXPECT_EQ(ValueAt<ULONG>(third, 12 + 3 * kTextBytes), 0x31170u);
    EXPECT_EQ(ValueAt<LONG>(third, 16 + 5 * kTextBytes), MDMEMBER_TYPE_ALL);
    for (size_t r = 0; r < 3; ++r)
        for (size_t c = 0; c < 9; ++c)
            EXPECT_EQ(ValueAt<DBSTATUS>(rows[r].data(), kStatuses + 4 * c), DBSTATUS_S_OK);
}

TEST_F(AxisRowsetIt, CaptionsFollowTheDisplayOption) {
    Standin().SetMdxAnswer("axis captions", SampleAnswer());
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"0", u"Widget"}, {u"1", u"W1"}, {u"2", u"Widget (W1)"}, {nullptr, u"Widget (W1)"}};
    for (const auto& [option, caption] : cases) {
        CComPtr<ICommandText> command = NewCommand(option);
        CComPtr<IMDDataset> dataset;
        ASSERT_EQ(
            Run(command, "axis captions", IID_IMDDataset, reinterpret_cast<IUnknown**>(&dataset)),
            S_OK);
        CComPtr<IRowset> rowset = AxisRowset(dataset, MDAXIS_ROWS);
        ASSERT_TRUE(rowset);
        HACCESSOR accessor = Accessor(rowset, kProductBindings, kProductRowSize);
        const auto rows = ReadAllRows(rowset, accessor, kProductRowSize);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(Text(rows[0].data() + 8 + kTextBytes), caption);
        // Gadget has no alias: its name whatever the option.
        EXPECT_EQ(Text(rows[1].data() + 8 + kTextBytes), u"Gadget");
    }
}

TEST_F(AxisRowsetIt, AxisNumbersBeyondTheAnswerGiveNoRowset) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "axis missing", SampleAnswer());
    ASSERT_TRUE(dataset);
    EXPECT_FALSE(AxisRowset(dataset, MDAXIS_PAGES, E_INVALIDARG));
    EXPECT_FALSE(AxisRowset(dataset, MDAXIS_SLICERS, E_INVALIDARG));
    auto* rowset = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(dataset->GetAxisRowset(nullptr, MDAXIS_ROWS, IID_IRowset, 0, nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(dataset->GetAxisRowset(nullptr, MDAXIS_ROWS, IID_NULL, 0, nullptr, &rowset), S_OK);
}

TEST_F(AxisRowsetIt, CrossProductAndListedTuples) {
    DimensionSpec quarter{5,     "Quarter",
                          false, false,
                          false, {{"q1", "Q1"}, {"q2", "Q2"}, {"q3", "Q3"}, {"q4", "Q4"}}};
    DimensionSpec region{6, "Region", false, false, true, {{"r1", "North"}, {"r2", "South"}}};
    const std::string answer = AnswerJson(
        1, 4, {"1", "2", "3", "4"},
        {AxisJson("COLUMNS", {quarter}),
         AxisWithTuplesJson("ROWS", {region, quarter},
                            {{{"r2", "South"}, {"q3", "Q3"}}, {{"r1", "North"}, {"q1", "Q1"}}})});
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset = Dataset(command, "axis tuples", answer);
    ASSERT_TRUE(dataset);
    CComPtr<IRowset> columns;
    DBROWCOUNT tuples = -1;
    CComQIPtr<IExtendCommand> extend(command);
    ASSERT_TRUE(extend);
    tuples = MDAXIS_COLUMNS;
    ASSERT_EQ(extend->GetAxisRowset(nullptr, IID_IRowset, nullptr, &tuples,
                                    reinterpret_cast<IUnknown**>(&columns)),
              S_OK);
    EXPECT_EQ(tuples, 4);
    HACCESSOR ordinal = Accessor(columns, {Binding(1, DBTYPE_UI4, 0, 4)}, 8);
    const auto columnRows = ReadAllRows(columns, ordinal, 8);
    ASSERT_EQ(columnRows.size(), 4u);
    for (ULONG i = 0; i < 4; ++i) EXPECT_EQ(ValueAt<ULONG>(columnRows[i].data(), 0), i);

    CComPtr<IRowset> rows = AxisRowset(dataset, MDAXIS_ROWS);
    ASSERT_TRUE(rows);
    // Region's six columns, then Quarter's five.
    HACCESSOR names = Accessor(rows,
                               {Binding(3, DBTYPE_WSTR, 0, 4096), Binding(7, DBTYPE_I4, 4100, 4104),
                                Binding(9, DBTYPE_WSTR, 2048, 4108)},
                               4112);
    const auto tupleRows = ReadAllRows(rows, names, 4112);
    ASSERT_EQ(tupleRows.size(), 2u);
    EXPECT_EQ(Text(tupleRows[0].data()), u"South");
    EXPECT_EQ(Text(tupleRows[0].data() + 2048), u"Q3");
    EXPECT_EQ(ValueAt<LONG>(tupleRows[0].data(), 4100), MDMEMBER_TYPE_REGULAR);
    EXPECT_EQ(Text(tupleRows[1].data() + 2048), u"Q1");
}

TEST_F(AxisRowsetIt, LongNamesAreCutAndAnAxisRowsetOutlivesALaterExecute) {
    const std::string longName(1500, 'n');
    DimensionSpec wide{1, "Wide", false, false, false, {{"w", longName}}};
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IMDDataset> dataset =
        Dataset(command, "axis long", AnswerJson(1, 1, {"1"}, {AxisJson("COLUMNS", {wide})}));
    ASSERT_TRUE(dataset);
    CComPtr<IRowset> rowset = AxisRowset(dataset, MDAXIS_COLUMNS);
    ASSERT_TRUE(rowset);
    Standin().SetMdxAnswer("axis long", SampleAnswer());
    CComPtr<IUnknown> later;
    ASSERT_EQ(command->Execute(nullptr, IID_IUnknown, nullptr, nullptr, &later), S_OK);
    later = nullptr;
    dataset = nullptr;
    command = nullptr;
    HACCESSOR caption = Accessor(rowset, {Binding(3, DBTYPE_WSTR, 0, 2048)}, 2052);
    const auto rows = ReadAllRows(rowset, caption, 2052);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0].data()), std::u16string(1023, u'n'));
    EXPECT_EQ(ValueAt<DBSTATUS>(rows[0].data(), 2048), DBSTATUS_S_OK);
}

}  // namespace
}  // namespace results_test
