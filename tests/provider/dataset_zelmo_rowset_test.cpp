// The dataset's logic: axis ordinals, axis information, cell values and GetCellData's rows.
#include "provider/zelmo_rowset.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "axis_test_data.h"
#include "client/rest_data.h"

namespace results_unit {
namespace {

std::u16string BstrText(BSTR text) {
    return text == nullptr ? u"<null>" : std::u16string(text, SysStringLen(text));
}

TEST(DatasetAxisInfo, AxisOrdinalsComeFromTheExactAxisName) {
    EXPECT_EQ(AxisOrdinalFromName(RESTAxis(u"COLUMNS")), MDAXIS_COLUMNS);
    EXPECT_EQ(AxisOrdinalFromName(RESTAxis(u"ROWS")), MDAXIS_ROWS);
    EXPECT_EQ(AxisOrdinalFromName(RESTAxis(u"PAGES")), MDAXIS_PAGES);
    EXPECT_EQ(AxisOrdinalFromName(RESTAxis(u"SLICER")), MDAXIS_PAGES);
    EXPECT_EQ(AxisOrdinalFromName(RESTAxis(u"columns")), MDAXIS_PAGES);
}

TEST(DatasetAxisInfo, OneElementPerAxisWithColumnCountsAndNames) {
    auto result = Result({Axis(u"COLUMNS", {Dimension(1, u"Account", {Member(u"a", u"A")}, 1, 1, 1),
                                            Dimension(2, u"Time",
                                                      {Member(u"t1", u"T1"), Member(u"t2", u"T2"),
                                                       Member(u"t3", u"T3")})}),
                          Axis(u"ROWS", {Dimension(3, u"Pro[duct]",
                                                   {Member(u"1", u"a"), Member(u"2", u"b"),
                                                    Member(u"3", u"c"), Member(u"4", u"d")},
                                                   0, 1, 0)})});
    DBCOUNTITEM count = 0;
    MDAXISINFO* info = nullptr;
    BuildAxisInfo(*result, &count, &info);
    ASSERT_EQ(count, 2u);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info[0].cbSize, sizeof(MDAXISINFO));
    EXPECT_EQ(info[0].iAxis, MDAXIS_COLUMNS);
    EXPECT_EQ(info[0].cDimensions, 2u);
    EXPECT_EQ(info[0].cCoordinates, 3u);
    EXPECT_EQ(info[0].rgcColumns[0], 8u);
    EXPECT_EQ(info[0].rgcColumns[1], 5u);
    EXPECT_EQ(std::u16string(info[0].rgpwszDimensionNames[1]), u"Time");
    EXPECT_EQ(info[1].iAxis, MDAXIS_ROWS);
    EXPECT_EQ(info[1].cDimensions, 1u);
    EXPECT_EQ(info[1].cCoordinates, 4u);
    EXPECT_EQ(info[1].rgcColumns[0], 6u);
    EXPECT_EQ(std::u16string(info[1].rgpwszDimensionNames[0]), u"Pro[duct]");
    FreeAxisInfoArray(count, info);
}

TEST(DatasetAxisInfo, NoAxesGiveNoArrayAndAFailedResultFails) {
    auto result = Result({});
    DBCOUNTITEM count = 5;
    auto* info = reinterpret_cast<MDAXISINFO*>(0x1);
    BuildAxisInfo(*result, &count, &info);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(info, nullptr);
    FreeAxisInfoArray(0, nullptr);
    result->SetStatus(0);
    EXPECT_THROW(BuildAxisInfo(*result, &count, &info), std::runtime_error);
}

TEST(DatasetCells, NumberTextsBecomeDoublesAndOthersTexts) {
    auto result = Result(
        {}, 3, 3, {u"12.5", u"-3e2", u" 7", u"7 ", u"1,234", u"abc", u"", u"1e999", u"\t+.5E1"});
    struct Case {
        DBORDINAL cell;
        VARTYPE type;
        double number;
        std::u16string text;
    };
    for (const Case& c :
         {Case{0, VT_R8, 12.5, u""}, Case{1, VT_R8, -300, u""}, Case{2, VT_R8, 7, u""},
          Case{3, VT_BSTR, 0, u"7 "}, Case{4, VT_BSTR, 0, u"1,234"}, Case{5, VT_BSTR, 0, u"abc"},
          Case{6, VT_R8, 0, u""}, Case{7, VT_BSTR, 0, u"1e999"}, Case{8, VT_R8, 5, u""}}) {
        VARIANT value = GetCellVariant(*result, c.cell);
        EXPECT_EQ(value.vt, c.type) << c.cell;
        if (c.type == VT_R8) {
            EXPECT_EQ(value.dblVal, c.number) << c.cell;
        } else {
            EXPECT_EQ(BstrText(value.bstrVal), c.text) << c.cell;
        }
        VariantClear(&value);
    }
}

TEST(DatasetCells, PastTheValuesIsANullTextAndNoTableFails) {
    auto result = Result({}, 1, 2, {u"1"});
    VARIANT value = GetCellVariant(*result, 1);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(value.bstrVal, nullptr);
    EXPECT_THROW(GetCellVariant(*Result({}, 0, 2, {u"1"}), 0), std::runtime_error);
    EXPECT_THROW(GetCellVariant(*Result({}, 2, 0, {u"1"}), 0), std::runtime_error);
}

TEST(DatasetCells, CellCountNeedsRowsAndColumns) {
    EXPECT_EQ(CellCountOf(*Result({}, 2, 3, {u"1", u"2", u"3", u"4", u"5", u"6"})), 6);
    EXPECT_EQ(CellCountOf(*Result({}, 2, 0, {u"1", u"2"})), 0);
    EXPECT_EQ(CellCountOf(*Result({}, 2, 3, {u"1"})), 1);
}

}  // namespace
}  // namespace results_unit
