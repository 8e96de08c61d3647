// Tests of the dataset layout: axes across, down and as pages, and cells by ordinal.
#include "tools/zelmo/dataset_grids.h"

#include <gtest/gtest.h>

namespace {

AxisContent Axis(DBCOUNTITEM number, std::vector<std::string> names,
                 std::vector<std::vector<std::string>> tuples) {
    return {number, std::move(names), std::move(tuples)};
}

std::vector<GridCell> Numbers(int count) {
    std::vector<GridCell> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back(GridCell::Number(std::to_string(i)));
    }
    return cells;
}

TEST(DatasetGridsTest, CellCountIsTheProductOfTupleCounts) {
    EXPECT_EQ(DatasetCellCount({}), 1u);
    EXPECT_EQ(
        DatasetCellCount({Axis(0, {"A"}, {{"a"}, {"b"}}), Axis(1, {"B"}, {{"x"}, {"y"}, {"z"}})}),
        6u);
    EXPECT_EQ(DatasetCellCount({Axis(0, {"A"}, {{"a"}}), Axis(1, {"B"}, {})}), 0u);
}

TEST(DatasetGridsTest, TwoAxesAreRowMajor) {
    DatasetContent dataset;
    dataset.axes = {Axis(0, {"Time"}, {{"Q1"}, {"Q2"}, {"Q3"}}),
                    Axis(1, {"Region"}, {{"North"}, {"South"}})};
    dataset.cells = Numbers(6);
    EXPECT_EQ(RenderDataset(dataset),
              "Region  Q1  Q2  Q3\n"
              "------  --  --  --\n"
              "North    0   1   2\n"
              "South    3   4   5\n");
}

TEST(DatasetGridsTest, AxesAnsweredRowsFirstStillGoDown) {
    DatasetContent dataset;
    dataset.axes = {Axis(1, {"Region"}, {{"North"}, {"South"}}),
                    Axis(0, {"Time"}, {{"Q1"}, {"Q2"}})};
    dataset.cells = Numbers(4);
    EXPECT_EQ(RenderDataset(dataset),
              "Region  Q1  Q2\n"
              "------  --  --\n"
              "North    0   1\n"
              "South    2   3\n");
}

TEST(DatasetGridsTest, NoAxesIsOneCell) {
    DatasetContent dataset;
    dataset.cells = {GridCell::Number("1234.5")};
    EXPECT_EQ(RenderDataset(dataset), "1234.5\n");
}

TEST(DatasetGridsTest, OneAxisIsOneLineOfCells) {
    DatasetContent dataset;
    dataset.axes = {Axis(0, {"Version"}, {{"Actual"}, {"Plan"}})};
    dataset.cells = Numbers(2);
    EXPECT_EQ(RenderDataset(dataset),
              "Actual  Plan\n"
              "------  ----\n"
              "     0     1\n");
}

TEST(DatasetGridsTest, FurtherAxesGiveOneGridPerPage) {
    DatasetContent dataset;
    dataset.axes = {Axis(0, {"T"}, {{"Q1"}, {"Q2"}}), Axis(1, {"R"}, {{"N"}}),
                    Axis(2, {"V", "P"}, {{"Actual", "Bikes"}, {"Plan", "Bikes"}})};
    dataset.cells = Numbers(4);
    EXPECT_EQ(RenderDataset(dataset),
              "PAGES: Actual, Bikes\n"
              "R  Q1  Q2\n"
              "-  --  --\n"
              "N   0   1\n"
              "\n"
              "PAGES: Plan, Bikes\n"
              "R  Q1  Q2\n"
              "-  --  --\n"
              "N   2   3\n");
}

TEST(DatasetGridsTest, AnEmptyPageAxisSaysThereAreNoCells) {
    DatasetContent dataset;
    dataset.axes = {Axis(0, {"T"}, {{"Q1"}}), Axis(1, {"R"}, {{"N"}}), Axis(2, {"V"}, {})};
    EXPECT_EQ(RenderDataset(dataset), "(no cells: an axis of the answer has no tuples)\n");
}

TEST(DatasetGridsTest, FewerCellsThanOrdinalsPrintBlank) {
    DatasetContent dataset;
    dataset.axes = {Axis(0, {"T"}, {{"Q1"}, {"Q2"}}), Axis(1, {"R"}, {{"N"}, {"S"}})};
    dataset.cells = Numbers(3);
    EXPECT_EQ(RenderDataset(dataset),
              "R  Q1  Q2\n"
              "-  --  --\n"
              "N   0   1\n"
              "S   2\n");
}

}  // namespace
