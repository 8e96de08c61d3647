// The dataset's logic: axis ordinals, axis information, cell values and GetCellData's rows.
#include "provider/zelmo_rowset.h"

#include <gtest/gtest.h>

#include <cstring>
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

// Row layout of the tests below: VALUE variant at 0, CELL_ORDINAL variant at 24, their statuses
// at 48 and 52, a length at 56.
constexpr DBLENGTH kRowSize = 64;

DBBINDING CellBinding(DBORDINAL ordinal, DBTYPE type, DBBYTEOFFSET value, DBBYTEOFFSET status,
                      DBPART parts = DBPART_VALUE | DBPART_STATUS) {
    DBBINDING binding{};
    binding.iOrdinal = ordinal;
    binding.wType = type;
    binding.obValue = value;
    binding.obStatus = status;
    binding.obLength = 56;
    binding.dwPart = parts;
    return binding;
}

template <class T>
T At(const BYTE* data, size_t offset) {
    T value;
    std::memcpy(&value, data + offset, sizeof(value));
    return value;
}

TEST(DatasetCells, RowsFollowTheAccessorRowSize) {
    auto result = Result({}, 2, 3, {u"0", u"1", u"2", u"3", u"x", u"5"});
    std::vector<BYTE> data(3 * kRowSize + 16, 0xEE);
    const std::vector<DBBINDING> bindings = {CellBinding(1, DBTYPE_VARIANT, 0, 48),
                                             CellBinding(2, DBTYPE_VARIANT, 24, 52)};
    EXPECT_EQ(WriteCellRows(*result, bindings, kRowSize, 2, 4, data.data()), S_OK);
    const BYTE* second = data.data() + kRowSize;
    EXPECT_EQ(At<VARIANT>(second, 24).vt, VT_I4);
    EXPECT_EQ(At<VARIANT>(second, 24).lVal, 3);
    EXPECT_EQ(At<VARIANT>(second, 0).dblVal, 3.0);
    EXPECT_EQ(At<DBSTATUS>(second, 48), DBSTATUS_S_OK);
    VARIANT third = At<VARIANT>(data.data(), 2 * kRowSize);
    EXPECT_EQ(BstrText(third.bstrVal), u"x");
    VariantClear(&third);
    // Nothing past the last row.
    EXPECT_EQ(data[3 * kRowSize], 0xEE);
    // No cells when the start is past the end.
    EXPECT_EQ(WriteCellRows(*result, bindings, kRowSize, 5, 4, nullptr), S_OK);
}

TEST(DatasetCells, OtherTypesAndOrdinalsGetStatuses) {
    auto result = Result({}, 1, 1, {u"9"});
    std::vector<BYTE> data(kRowSize, 0);
    // CELL_ORDINAL as DBTYPE_UI4: no value, a status, and still S_OK.
    EXPECT_EQ(
        WriteCellRows(*result, {CellBinding(2, DBTYPE_UI4, 24, 52)}, kRowSize, 0, 0, data.data()),
        S_OK);
    EXPECT_EQ(At<DBSTATUS>(data.data(), 52), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(At<VARIANT>(data.data(), 24).vt, VT_EMPTY);
    // Ordinal 3 is no column; the other binding is still served.
    EXPECT_EQ(WriteCellRows(
                  *result,
                  {CellBinding(3, DBTYPE_VARIANT, 24, 52), CellBinding(1, DBTYPE_VARIANT, 0, 48)},
                  kRowSize, 0, 0, data.data()),
              DB_S_ERRORSOCCURRED);
    EXPECT_EQ(At<DBSTATUS>(data.data(), 52), DBSTATUS_E_BADACCESSOR);
    EXPECT_EQ(At<DBSTATUS>(data.data(), 48), DBSTATUS_S_OK);
    EXPECT_EQ(At<VARIANT>(data.data(), 0).dblVal, 9.0);
    // A status-only binding is S_OK; a length part is always 4.
    EXPECT_EQ(
        WriteCellRows(*result, {CellBinding(7, DBTYPE_I4, 0, 48, DBPART_STATUS | DBPART_LENGTH)},
                      kRowSize, 0, 0, data.data()),
        S_OK);
    EXPECT_EQ(At<DBSTATUS>(data.data(), 48), DBSTATUS_S_OK);
    EXPECT_EQ(At<DBLENGTH>(data.data(), 56), 4u);
}

TEST(DatasetCells, ResultWithoutCellsFailsOnlyTheValueReads) {
    auto result = Result({}, 0, 2, {u"1", u"2"});
    std::vector<BYTE> data(2 * kRowSize, 0);
    const std::vector<DBBINDING> bindings = {CellBinding(2, DBTYPE_VARIANT, 24, 52),
                                             CellBinding(1, DBTYPE_VARIANT, 0, 48)};
    EXPECT_EQ(WriteCellRows(*result, bindings, kRowSize, 0, 1, data.data()), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(At<DBSTATUS>(data.data(), 52), DBSTATUS_S_OK);
    EXPECT_EQ(At<VARIANT>(data.data(), 24).lVal, 0);
    EXPECT_EQ(At<DBSTATUS>(data.data(), 48), DBSTATUS_E_UNAVAILABLE);
    EXPECT_EQ(At<VARIANT>(data.data() + kRowSize, 24).lVal, 1);
    EXPECT_EQ(At<DBSTATUS>(data.data() + kRowSize, 48), DBSTATUS_E_UNAVAILABLE);
}

}  // namespace
}  // namespace results_unit
