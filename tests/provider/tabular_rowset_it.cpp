// CTabularRowset through the exports: the drill-through answer's columns and rows, short value
// lists, long texts, and rows that outlive a later Execute.
#include "command_test_answers.h"

namespace results_test {
namespace {

// Two text columns and the number column, each with a status.
constexpr size_t kRowSize = 2 * 512 + 8 + 12;
const std::vector<DBBINDING> kRowBindings = {Binding(1, DBTYPE_WSTR, 0, 1032),
                                             Binding(2, DBTYPE_WSTR, 512, 1036),
                                             Binding(3, DBTYPE_R8, 1024, 1040)};

class TabularRowsetIt : public ResultsTest {
  protected:
    static CComPtr<IRowset> Drill(ICommandText* command, const std::string& statement,
                                  const std::string& answer, DBROWCOUNT* rowsAffected = nullptr) {
        Standin().SetMdxAnswer(statement, answer);
        CComPtr<IRowset> rowset;
        EXPECT_EQ(Run(command, statement, IID_IRowset, reinterpret_cast<IUnknown**>(&rowset),
                      rowsAffected),
                  S_OK);
        return rowset;
    }
};

TEST_F(TabularRowsetIt, ColumnsComeFromTheHeader) {
    CComPtr<ICommandText> command = NewCommand();
    DBROWCOUNT rowsAffected = -1;
    CComPtr<IRowset> rowset =
        Drill(command, "drill columns",
              DrillThroughJson({"A", "B", "Amount"}, {{"x", "y", "12.5"}}, 1, 3), &rowsAffected);
    ASSERT_TRUE(rowset);
    EXPECT_EQ(rowsAffected, 1);
    CComQIPtr<IColumnsInfo> info(rowset);
    DBORDINAL count = 0;
    DBCOLUMNINFO* columns = nullptr;
    OLECHAR* strings = nullptr;
    ASSERT_EQ(info->GetColumnInfo(&count, &columns, &strings), S_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(std::u16string(columns[0].pwszName), u"A");
    EXPECT_EQ(columns[0].wType, DBTYPE_WSTR);
    EXPECT_EQ(columns[0].ulColumnSize, 256u);
    EXPECT_EQ(std::u16string(columns[2].pwszName), u"Amount");
    EXPECT_EQ(columns[2].wType, DBTYPE_R8);
    EXPECT_EQ(columns[2].ulColumnSize, 8u);
    EXPECT_EQ(columns[2].bPrecision, 16);
    EXPECT_EQ(columns[2].bScale, 2);
    CoTaskMemFree(columns);
    CoTaskMemFree(strings);
    HACCESSOR accessor = Accessor(rowset, kRowBindings, kRowSize);
    const auto rows = ReadAllRows(rowset, accessor, kRowSize);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0].data()), u"x");
    EXPECT_EQ(Text(rows[0].data() + 512), u"y");
    EXPECT_EQ(ValueAt<double>(rows[0].data(), 1024), 12.5);
    EXPECT_EQ(ValueAt<DBSTATUS>(rows[0].data(), 1040), DBSTATUS_S_OK);
}

TEST_F(TabularRowsetIt, ShortValueListsGiveEmptyCellsAndLongTextsAreCut) {
    CComPtr<ICommandText> command = NewCommand();
    const std::string longText(400, 'L');
    DBROWCOUNT rowsAffected = -1;
    // Three rows announced, four values given: the second row is partly and the third wholly
    // missing.
    CComPtr<IRowset> rowset =
        Drill(command, "drill short",
              DrillThroughJson({"A", "B", "Amount"}, {{longText, "b", "12abc"}, {"c"}}, 3, 3),
              &rowsAffected);
    ASSERT_TRUE(rowset);
    EXPECT_EQ(rowsAffected, 3);
    HACCESSOR accessor = Accessor(rowset, kRowBindings, kRowSize);
    const auto rows = ReadAllRows(rowset, accessor, kRowSize);
    ASSERT_EQ(rows.size(), 3u);
    const std::u16string cut = Text(rows[0].data());
    EXPECT_LE(cut.size(), 255u);
    EXPECT_EQ(cut, std::u16string(cut.size(), u'L'));
    EXPECT_EQ(ValueAt<double>(rows[0].data(), 1024), 12.0);
    EXPECT_EQ(Text(rows[1].data()), u"c");
    EXPECT_EQ(Text(rows[1].data() + 512), u"");
    EXPECT_EQ(ValueAt<double>(rows[1].data(), 1024), 0.0);
    EXPECT_EQ(Text(rows[2].data()), u"");
}

// A text column declares 256 characters in a 512-byte slot: every one of them reaches the consumer.
TEST_F(TabularRowsetIt, TextsReachTheConsumerUpTo255Characters) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IRowset> rowset =
        Drill(command, "drill long",
              DrillThroughJson({"A", "B", "Amount"}, {{std::string(300, 'L'), "b", "1"}}, 1, 3));
    ASSERT_TRUE(rowset);
    HACCESSOR accessor = Accessor(rowset, kRowBindings, kRowSize);
    const auto rows = ReadAllRows(rowset, accessor, kRowSize);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0].data()), std::u16string(255, u'L'));
}

TEST_F(TabularRowsetIt, OneColumnIsTheNumberColumnAndNoRowsIsEmpty) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IRowset> single =
        Drill(command, "drill single", DrillThroughJson({"Amount"}, {{"1,5"}}, 1, 1));
    ASSERT_TRUE(single);
    HACCESSOR accessor = Accessor(single, {Binding(1, DBTYPE_R8, 0, 8)}, 12);
    const auto rows = ReadAllRows(single, accessor, 12);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(ValueAt<double>(rows[0].data(), 0), 1.0);
    single = nullptr;
    DBROWCOUNT rowsAffected = -1;
    CComPtr<IRowset> empty = Drill(command, "drill empty",
                                   DrillThroughJson({"A", "B"}, {{"x", "1"}}, 0, 2), &rowsAffected);
    ASSERT_TRUE(empty);
    EXPECT_EQ(rowsAffected, 0);
    EXPECT_TRUE(ReadAllRows(empty, Accessor(empty, {Binding(2, DBTYPE_R8, 0, 8)}, 12), 12).empty());
}

TEST_F(TabularRowsetIt, TableTooLargeToHoldIsMemoryExhaustion) {
    CComPtr<ICommandText> command = NewCommand();
    Standin().SetMdxAnswer("drill huge", DrillThroughJson({"A"}, {{"1"}}, 2147483647, 1));
    CComPtr<IRowset> rowset;
    EXPECT_EQ(Run(command, "drill huge", IID_IRowset, reinterpret_cast<IUnknown**>(&rowset)),
              E_OUTOFMEMORY);
    EXPECT_EQ(rowset, nullptr);
}

TEST_F(TabularRowsetIt, RowsStayAfterTheCommandRunsAgain) {
    CComPtr<ICommandText> command = NewCommand();
    CComPtr<IRowset> rowset = Drill(
        command, "drill again", DrillThroughJson({"A", "B", "Amount"}, {{"x", "y", "3"}}, 1, 3));
    ASSERT_TRUE(rowset);
    Standin().SetMdxAnswer("drill again", SampleAnswer());
    CComPtr<IUnknown> later;
    ASSERT_EQ(command->Execute(nullptr, IID_IUnknown, nullptr, nullptr, &later), S_OK);
    later = nullptr;
    command = nullptr;
    HACCESSOR accessor = Accessor(rowset, kRowBindings, kRowSize);
    const auto rows = ReadAllRows(rowset, accessor, kRowSize);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0].data() + 512), u"y");
    EXPECT_EQ(ValueAt<double>(rows[0].data(), 1024), 3.0);
}

}  // namespace
}  // namespace results_test
