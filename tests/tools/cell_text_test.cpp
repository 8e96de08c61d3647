// Tests of cell texts from VARIANTs and wide texts with their status.
#include "tools/zelmo/cell_text.h"

#include <gtest/gtest.h>

#include "com_runtime.h"

namespace {

VARIANT Double(double value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

TEST(CellTextTest, NumbersUseTheShortestExactText) {
    EXPECT_EQ(FormatNumber(1234.5), "1234.5");
    EXPECT_EQ(FormatNumber(12), "12");
    EXPECT_EQ(FormatNumber(0.1), "0.1");
    EXPECT_EQ(FormatNumber(-0.0), "0");
    EXPECT_EQ(FormatNumber(-300), "-300");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(FormatNumber(1e300), "1e+300");
}

TEST(CellTextTest, VariantKinds) {
    const GridCell number = CellFromVariant(Double(12.5), DBSTATUS_S_OK);
    EXPECT_EQ(number.kind, GridCell::Kind::kNumber);
    EXPECT_EQ(number.text, "12.5");

    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(u"1,234");
    const GridCell textCell = CellFromVariant(text, DBSTATUS_S_OK);
    EXPECT_EQ(textCell.kind, GridCell::Kind::kText);
    EXPECT_EQ(textCell.text, "1,234");
    VariantClear(&text);

    VARIANT integer;
    VariantInit(&integer);
    integer.vt = VT_I4;
    integer.lVal = -7;
    EXPECT_EQ(CellFromVariant(integer, DBSTATUS_S_OK).text, "-7");
}

TEST(CellTextTest, NothingToShowIsAnEmptyCell) {
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(CellFromVariant(empty, DBSTATUS_S_OK).kind, GridCell::Kind::kEmpty);
    VARIANT nullText;
    VariantInit(&nullText);
    nullText.vt = VT_BSTR;
    nullText.bstrVal = nullptr;
    EXPECT_EQ(CellFromVariant(nullText, DBSTATUS_S_OK).kind, GridCell::Kind::kEmpty);
    EXPECT_EQ(CellFromVariant(Double(1), DBSTATUS_S_ISNULL).kind, GridCell::Kind::kEmpty);
}

TEST(CellTextTest, AnErrorStatusIsShownNotTheValue) {
    const GridCell cell = CellFromVariant(Double(1), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(cell.kind, GridCell::Kind::kText);
    EXPECT_EQ(cell.text, "#ERROR");
    EXPECT_EQ(CellFromWideText(u"x", DBSTATUS_E_BADACCESSOR).text, "#ERROR");
}

TEST(CellTextTest, WideTexts) {
    EXPECT_EQ(CellFromWideText(u"Zürich", DBSTATUS_S_OK).text, "Zürich");
    EXPECT_EQ(CellFromWideText(u"cut", DBSTATUS_S_TRUNCATED).text, "cut");
    EXPECT_EQ(CellFromWideText(u"", DBSTATUS_S_OK).kind, GridCell::Kind::kEmpty);
    EXPECT_EQ(CellFromWideText(nullptr, DBSTATUS_S_OK).kind, GridCell::Kind::kEmpty);
}

}  // namespace
