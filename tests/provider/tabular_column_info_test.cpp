// The drill-through rowset's columns and rows, and its row buffers.
#include "provider/tabular_column_info.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "axis_test_data.h"
#include "provider/tabular_row_data.h"

namespace results_unit {
namespace {

std::shared_ptr<RESTData> Table(std::vector<std::u16string> header,
                                std::vector<std::u16string> values, int rows, int columns) {
    auto result = std::make_shared<RESTData>();
    RESTDrillThroughTable& table = result->GetDrillThroughTable();
    table.GetHeader() = std::move(header);
    table.GetValues() = std::move(values);
    table.SetNumRows(rows);
    table.SetNumColumns(columns);
    return result;
}

std::u16string TextAt(const CTabularRowData& row, size_t column) {
    return {reinterpret_cast<const char16_t*>(row.Buffer() + column * 512)};
}

double NumberAt(const CTabularRowData& row, size_t column) {
    double value;
    std::memcpy(&value, row.Buffer() + column * 512, sizeof(value));
    return value;
}

CTabularRowData Row(const CTabularColumnInfo& info, int r) {
    CTabularRowData row(info.GetRowLength());
    info.FillRow(r, row.Buffer());
    return row;
}

TEST(TabularColumnInfo, TextColumnsThenOneNumberColumn) {
    auto result = Table({u"A", u"B", u"Amount"}, {u"x", u"y", u"12.5"}, 1, 3);
    CTabularColumnInfo info(result.get());
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = info.GetColumns(&count);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(info.GetRowLength(), 1536);
    for (DBORDINAL c = 0; c < 2; ++c) {
        EXPECT_EQ(columns[c].wType, DBTYPE_WSTR);
        EXPECT_EQ(columns[c].ulColumnSize, 256u);
        EXPECT_EQ(columns[c].bPrecision, 255);
        EXPECT_EQ(columns[c].bScale, 255);
        EXPECT_EQ(columns[c].cbOffset, c * 512);
        EXPECT_EQ(columns[c].iOrdinal, c + 1);
        EXPECT_EQ(columns[c].dwFlags, 0u);
    }
    EXPECT_EQ(std::u16string(columns[1].pwszName), u"B");
    EXPECT_EQ(std::u16string(columns[2].pwszName), u"Amount");
    EXPECT_EQ(columns[2].wType, DBTYPE_R8);
    EXPECT_EQ(columns[2].ulColumnSize, 8u);
    EXPECT_EQ(columns[2].bPrecision, 16);
    EXPECT_EQ(columns[2].bScale, 2);
    const CTabularRowData row = Row(info, 0);
    EXPECT_EQ(TextAt(row, 0), u"x");
    EXPECT_EQ(TextAt(row, 1), u"y");
    EXPECT_EQ(NumberAt(row, 2), 12.5);
}

TEST(TabularColumnInfo, LastCellIsReadAsAtofReadsIt) {
    auto result =
        Table({u"Amount"}, {u"12abc", u"abc", u"", u"1,5", u" -2e1x", u"1e999", u".e3"}, 7, 1);
    CTabularColumnInfo info(result.get());
    DBORDINAL count = 0;
    EXPECT_EQ(info.GetColumns(&count)[0].wType, DBTYPE_R8);
    const double expected[] = {12.0, 0.0, 0.0, 1.0, -20.0, HUGE_VAL, 0.0};
    for (int r = 0; r < 7; ++r) EXPECT_EQ(NumberAt(Row(info, r), 0), expected[r]) << r;
}

TEST(TabularColumnInfo, LongTextsAreCutAndMissingCellsStayEmpty) {
    const std::u16string longText(600, u'z');
    auto result = Table({u"A"}, {longText, u"b", u"3", u"c"}, 3, 3);
    CTabularColumnInfo info(result.get());
    EXPECT_EQ(info.GetColumnName(1), u"");
    EXPECT_EQ(info.GetColumnName(3), u"");
    EXPECT_EQ(info.GetColumnName(-1), u"");
    const CTabularRowData first = Row(info, 0);
    EXPECT_EQ(TextAt(first, 0), longText.substr(0, 255));
    EXPECT_EQ(NumberAt(first, 2), 3.0);
    const CTabularRowData second = Row(info, 1);
    EXPECT_EQ(TextAt(second, 0), u"c");
    EXPECT_EQ(TextAt(second, 1), u"");
    EXPECT_EQ(NumberAt(second, 2), 0.0);
    const CTabularRowData third = Row(info, 2);
    EXPECT_EQ(TextAt(third, 0), u"");
    // Rows outside the table are left as they are.
    CTabularRowData outside(info.GetRowLength());
    info.FillRow(3, outside.Buffer());
    info.FillRow(-1, outside.Buffer());
    EXPECT_EQ(TextAt(outside, 0), u"");
}

TEST(TabularColumnInfo, NoColumnsWithoutAResultOrWithZeroColumns) {
    CTabularColumnInfo none(nullptr);
    DBORDINAL count = 9;
    EXPECT_EQ(none.GetColumns(&count), nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(none.GetRowCount(), 0);
    auto result = Table({u"A"}, {u"x"}, 2, 0);
    CTabularColumnInfo empty(result.get());
    EXPECT_EQ(empty.GetColumnCount(), 0);
    EXPECT_EQ(empty.GetRowLength(), 0);
    EXPECT_EQ(empty.GetRowCount(), 2);
    CTabularRowData row(empty.GetRowLength());
    empty.FillRow(0, row.Buffer());
    EXPECT_NE(&row, nullptr);
}

TEST(TabularRowData, CopiesOwnTheirBuffers) {
    CTabularRowData row(1024);
    EXPECT_EQ(row.GetRowLength(), 1024);
    EXPECT_EQ(row.Buffer()[1023], 0);
    row.Buffer()[5] = 7;
    CTabularRowData copy(row);
    EXPECT_NE(copy.Buffer(), row.Buffer());
    EXPECT_EQ(copy.Buffer()[5], 7);
    row.Buffer()[5] = 8;
    EXPECT_EQ(copy.Buffer()[5], 7);
    copy = row;
    EXPECT_EQ(copy.Buffer()[5], 8);
    EXPECT_EQ(&copy, copy.Buffer());
}

}  // namespace
}  // namespace results_unit
