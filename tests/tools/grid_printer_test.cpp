// Tests of the grid and table layout: alignment, widths, repeated captions, missing cells.
#include "tools/zelmo/grid_printer.h"

#include <gtest/gtest.h>

namespace {

GridCell N(const char* text) { return GridCell::Number(text); }
GridCell T(const char* text) { return GridCell::Text(text); }

TEST(GridPrinterTest, TwoAxesPutNumbersRightAndTextsLeft) {
    GridContent grid;
    grid.columnTuples = {{"Q1"}, {"Q2"}};
    grid.rowTuples = {{"Bikes"}, {"Helmets"}};
    grid.rowDimensionNames = {"Product"};
    grid.cells = {N("1200.5"), N("7"), T("n/a"), GridCell::Empty()};
    EXPECT_EQ(GridPrinter::RenderGrid(grid),
              "Product      Q1  Q2\n"
              "-------  ------  --\n"
              "Bikes    1200.5   7\n"
              "Helmets  n/a\n");
}

TEST(GridPrinterTest, OuterCaptionsThatRepeatAreLeftBlank) {
    GridContent grid;
    grid.columnTuples = {{"Actual", "Q1"}, {"Actual", "Q2"}, {"Plan", "Q1"}};
    grid.rowTuples = {{"EU", "North"}, {"EU", "South"}, {"US", "North"}, {"US", "North"}};
    grid.rowDimensionNames = {"Region", "Area"};
    grid.cells = {N("1"), N("2"), N("3"), N("4"),  N("5"),  N("6"),
                  N("7"), N("8"), N("9"), N("10"), N("11"), N("12")};
    EXPECT_EQ(GridPrinter::RenderGrid(grid),
              "               Actual      Plan\n"
              "Region  Area       Q1  Q2    Q1\n"
              "------  -----  ------  --  ----\n"
              "EU      North       1   2     3\n"
              "        South       4   5     6\n"
              "US      North       7   8     9\n"
              "        North      10  11    12\n");
}

TEST(GridPrinterTest, InnerRepeatUnderANewOuterCaptionShows) {
    GridContent grid;
    grid.columnTuples = {{"A", "x"}, {"B", "x"}};
    grid.rowTuples = {{}};
    grid.cells = {N("1"), N("2")};
    EXPECT_EQ(GridPrinter::RenderGrid(grid),
              "A  B\n"
              "x  x\n"
              "-  -\n"
              "1  2\n");
}

TEST(GridPrinterTest, SingleCellHasNoHeader) {
    GridContent grid;
    grid.columnTuples = {{}};
    grid.rowTuples = {{}};
    grid.cells = {N("42")};
    EXPECT_EQ(GridPrinter::RenderGrid(grid), "42\n");
}

TEST(GridPrinterTest, RowsOnlyShowTheDimensionNamesAbove) {
    GridContent grid;
    grid.columnTuples = {{}};
    grid.rowTuples = {{"a"}, {"b"}};
    grid.rowDimensionNames = {"Dim"};
    grid.cells = {N("1"), N("22")};
    EXPECT_EQ(GridPrinter::RenderGrid(grid),
              "Dim\n"
              "---  --\n"
              "a     1\n"
              "b    22\n");
}

TEST(GridPrinterTest, MissingCellsPrintBlankAndNothingIsReadPastTheEnd) {
    GridContent grid;
    grid.columnTuples = {{"c1"}, {"c2"}};
    grid.rowTuples = {{"r1"}, {"r2"}};
    grid.cells = {N("1")};
    EXPECT_EQ(GridPrinter::RenderGrid(grid),
              "    c1  c2\n"
              "--  --  --\n"
              "r1   1\n"
              "r2\n");
}

TEST(GridPrinterTest, WidthsCountDisplayColumnsNotBytes) {
    GridContent grid;
    grid.columnTuples = {{"Menge"}};
    grid.rowTuples = {{"Zürich"}, {"東京"}};
    grid.cells = {N("1"), N("2")};
    EXPECT_EQ(GridPrinter::RenderGrid(grid),
              "        Menge\n"
              "------  -----\n"
              "Zürich      1\n"
              "東京        2\n");
}

TEST(GridPrinterTest, TableAlignsNumericColumnsRightIncludingTheirHeader) {
    EXPECT_EQ(GridPrinter::RenderTable({"Product", "Month", "Amount"},
                                       {{T("Road bike"), T("Jan"), N("1200.5")},
                                        {T("Helmet"), GridCell::Empty(), N("35")}}),
              "Product    Month  Amount\n"
              "---------  -----  ------\n"
              "Road bike  Jan    1200.5\n"
              "Helmet                35\n");
}

TEST(GridPrinterTest, TableWithoutRowsKeepsItsHeader) {
    EXPECT_EQ(GridPrinter::RenderTable({"A", "B"}, {}),
              "A  B\n"
              "-  -\n");
}

}  // namespace
