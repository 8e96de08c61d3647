// The axis rowset's row array: columns built from an axis, rows filled on demand.
#include "provider/axis_row.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "axis_test_data.h"
#include "provider/axis_rowset.h"

namespace results_unit {
namespace {

std::u16string TextAt(const char* row, const ATLCOLUMNINFO& column) {
    return {reinterpret_cast<const char16_t*>(row + column.cbOffset)};
}

template <class T>
T NumberAt(const char* row, const ATLCOLUMNINFO& column) {
    T value;
    std::memcpy(&value, row + column.cbOffset, sizeof(value));
    return value;
}

std::shared_ptr<RESTData> TwoDimensionAxis() {
    // The first dimension asks for MEMBER_TYPE only, the second for nothing.
    return Result({Axis(
        u"ROWS", {Dimension(1, u"Time", {Member(u"t1", u"2026", u"", 0, u"", 0)}, 0, 0, 1),
                  Dimension(2, u"Product",
                            {Member(u"p1", u"Widget", u"W1", 3), Member(u"p2", u"Gadget")})})});
}

TEST(AxisRow, ColumnsFollowTheDimensionsAndTheirFlags) {
    CAxisRow row;
    ASSERT_TRUE(row.Build(TwoDimensionAxis(), 0));
    DBORDINAL count = 0;
    ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    ASSERT_EQ(count, 1u + 6u + 5u);
    EXPECT_EQ(std::u16string(columns[0].pwszName), u"TUPLE_ORDINAL");
    EXPECT_EQ(columns[0].wType, DBTYPE_UI4);
    EXPECT_EQ(std::u16string(columns[1].pwszName), u"[Time].[MEMBER_UNIQUE_NAME]");
    EXPECT_EQ(std::u16string(columns[6].pwszName), u"[Time].[MEMBER_TYPE]");
    EXPECT_EQ(columns[6].wType, DBTYPE_I4);
    EXPECT_EQ(std::u16string(columns[7].pwszName), u"[Product].[MEMBER_UNIQUE_NAME]");
    EXPECT_EQ(std::u16string(columns[11].pwszName), u"[Product].[DISPLAY_INFO]");
    DBBYTEOFFSET offset = 0;
    for (DBORDINAL c = 0; c < count; ++c) {
        EXPECT_EQ(columns[c].iOrdinal, c + 1);
        EXPECT_EQ(columns[c].cbOffset, offset);
        EXPECT_EQ(columns[c].dwFlags, static_cast<DBCOLUMNFLAGS>(DBCOLUMNFLAGS_ISFIXEDLENGTH));
        EXPECT_EQ(columns[c].bScale, 255);
        EXPECT_EQ(columns[c].bPrecision, columns[c].wType == DBTYPE_WSTR ? 255 : 10);
        EXPECT_EQ(columns[c].columnid.uName.pwszName, nullptr);
        offset += columns[c].ulColumnSize;
    }
    EXPECT_EQ(row.GetRowSize(), offset);
    EXPECT_EQ(row.GetCount(), 2u);
}

TEST(AxisRow, AllFlagsGiveEightColumnsAndTheirRowLength) {
    CAxisRow row;
    ASSERT_TRUE(row.Build(Result({Axis(u"COLUMNS", {Dimension(1, u"D", {}, 1, 1, 1)})}), 0));
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    ASSERT_EQ(count, 9u);
    EXPECT_EQ(row.GetRowSize(), 4u + 2048u * 5 + 4u * 3);
    EXPECT_EQ(std::u16string(columns[6].pwszName), u"[D].[PARENT_UNIQUE_NAME]");
    EXPECT_EQ(std::u16string(columns[7].pwszName), u"[D].[MEMBER_NAME]");
    EXPECT_EQ(std::u16string(columns[8].pwszName), u"[D].[MEMBER_TYPE]");
    EXPECT_EQ(columns[4].wType, DBTYPE_I4);
    EXPECT_EQ(columns[5].wType, DBTYPE_UI4);
    // A dimension without members gives the axis no tuples.
    EXPECT_EQ(row.GetCount(), 0u);
}

TEST(AxisRow, RowsHoldEachTuplesMembers) {
    CAxisRow row;
    ASSERT_TRUE(row.Build(TwoDimensionAxis(), 0));
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    const char* second = FillAxisRow(row, 1);
    EXPECT_EQ(NumberAt<uint32_t>(second, columns[0]), 1u);
    EXPECT_EQ(TextAt(second, columns[1]), u"[Time <1>].[2026 <t1>]");
    EXPECT_EQ(TextAt(second, columns[3]), u"[Time <1>].[Level]");
    EXPECT_EQ(NumberAt<int32_t>(second, columns[4]), 0);
    EXPECT_EQ(NumberAt<uint32_t>(second, columns[5]), 0x10000u);
    EXPECT_EQ(NumberAt<int32_t>(second, columns[6]), MDMEMBER_TYPE_ALL);
    EXPECT_EQ(TextAt(second, columns[7]), u"[Product <2>].[Gadget <p2>]");
    EXPECT_EQ(TextAt(second, columns[8]), u"Gadget");
    const char* first = FillAxisRow(row, 0);
    EXPECT_EQ(NumberAt<uint32_t>(first, columns[0]), 0u);
    // Display option 2 by default: the name and the alias.
    EXPECT_EQ(TextAt(first, columns[8]), u"Widget (W1)");
    EXPECT_EQ(NumberAt<int32_t>(first, columns[10]), 1);
    EXPECT_EQ(NumberAt<uint32_t>(first, columns[11]), 0x10003u);
}

TEST(AxisRow, OptionalColumnsShowParentNameUniqueNameAndType) {
    JSONMember member = Member(u"9", u"Leaf", u"", 70000, u"[D <4>].[Top <1>]", 2);
    member.SetParentSameAsPrevious(1);
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(Dimension(4, u"D", {member}, 1, 1, 1));
    axis.GetTuples().push_back(RESTTuple({member}));
    CAxisRow row;
    ASSERT_TRUE(row.Build(Result({axis}), 0));
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    const char* data = FillAxisRow(row, 0);
    EXPECT_EQ(NumberAt<uint32_t>(data, columns[5]), 0x21170u);
    EXPECT_EQ(TextAt(data, columns[6]), u"[D <4>].[Top <1>]");
    EXPECT_EQ(TextAt(data, columns[7]), TextAt(data, columns[1]));
    EXPECT_EQ(TextAt(data, columns[7]), u"[D <4>].[Top <1>].[Leaf <9>]");
    EXPECT_EQ(NumberAt<int32_t>(data, columns[8]), MDMEMBER_TYPE_REGULAR);
}

TEST(AxisRow, LongTextsAreCutAt1023Characters) {
    const std::u16string longName(3000, u'n');
    CAxisRow row;
    ASSERT_TRUE(
        row.Build(Result({Axis(u"ROWS", {Dimension(1, u"D", {Member(u"1", longName)})})}), 0));
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    const char* data = FillAxisRow(row, 0);
    EXPECT_EQ(TextAt(data, columns[2]), longName.substr(0, 1023));
    // The next column starts right after the terminator's place.
    EXPECT_EQ(TextAt(data, columns[3]), u"[D <1>].[Level]");
}

TEST(AxisRow, TupleWithFewerMembersThanDimensionsShowsEmptyMembers) {
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(Dimension(1, u"A", {}));
    axis.GetDimensions().push_back(Dimension(2, u"B", {}));
    axis.GetTuples().push_back(RESTTuple({Member(u"a", u"Only")}));
    CAxisRow row;
    ASSERT_TRUE(row.Build(Result({axis}), 0));
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    const char* data = FillAxisRow(row, 0);
    EXPECT_EQ(TextAt(data, columns[2]), u"Only");
    EXPECT_EQ(TextAt(data, columns[6]), u"[B <2>].[ <>]");
    EXPECT_EQ(TextAt(data, columns[7]), u"");
}

TEST(AxisRow, ReadsPastTheLastTupleFail) {
    CAxisRow row;
    EXPECT_THROW(FillAxisRow(row, 0), std::out_of_range);
    ASSERT_TRUE(row.Build(TwoDimensionAxis(), 0));
    EXPECT_THROW(FillAxisRow(row, 2), std::out_of_range);
    EXPECT_NO_THROW(FillAxisRow(row, 1));
}

TEST(AxisRow, AxisNumberMustBeBelowTheAxisCount) {
    auto result = Result({Axis(u"COLUMNS", {}), Axis(u"ROWS", {Dimension(1, u"D", {})})});
    CAxisRow row;
    EXPECT_FALSE(CAxisRowset::BuildAxisColumns(row, 2, result));
    EXPECT_FALSE(CAxisRowset::BuildAxisColumns(row, MDAXIS_SLICERS, result));
    DBORDINAL count = 7;
    EXPECT_EQ(row.GetColumnInfo(&count), nullptr);
    EXPECT_EQ(count, 0u);
    // An axis without dimensions has one tuple with TUPLE_ORDINAL only.
    ASSERT_TRUE(CAxisRowset::BuildAxisColumns(row, 0, result));
    EXPECT_EQ(row.GetCount(), 1u);
    row.GetColumnInfo(&count);
    EXPECT_EQ(count, 1u);
    // Building again replaces the columns.
    ASSERT_TRUE(CAxisRowset::BuildAxisColumns(row, 1, result));
    row.GetColumnInfo(&count);
    EXPECT_EQ(count, 6u);
}

TEST(AxisRow, KeepsItsShareOfTheResult) {
    CAxisRow row;
    {
        auto result = TwoDimensionAxis();
        ASSERT_TRUE(row.Build(result, 0));
    }
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = row.GetColumnInfo(&count);
    EXPECT_EQ(TextAt(FillAxisRow(row, 1), columns[8]), u"Gadget");
    row.Clear();
    EXPECT_EQ(row.GetCount(), 0u);
}

}  // namespace
}  // namespace results_unit
