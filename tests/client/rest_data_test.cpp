// The query result record: defaults, member display option and clearing.
#include <gtest/gtest.h>

#include "client/rest_data.h"

namespace {

TEST(RESTDataTest, NewResultIsEmptyWithStatusOne) {
    RESTData data;
    EXPECT_EQ(data.GetAxisCount(), 0u);
    EXPECT_EQ(data.GetCellTable().GetNumRows(), 0);
    EXPECT_EQ(data.GetCellTable().GetNumColumns(), 0);
    EXPECT_EQ(data.GetDrillThroughTable().GetNumRows(), 0);
    EXPECT_EQ(data.GetDrillThroughTable().GetNumColumns(), 0);
    EXPECT_EQ(data.GetStatus(), 1);
    EXPECT_EQ(data.IsDrillThrough(), 0);
    EXPECT_EQ(data.GetMemberDisplayOption(), 2);
}

TEST(RESTDataTest, DisplayOptionReachesEveryAxisAndDimension) {
    RESTData data;
    for (int a = 0; a < 2; ++a) {
        RESTAxis axis(u"ROWS");
        axis.GetDimensions().emplace_back(1, u"A", 0, 0, 0);
        axis.GetDimensions().emplace_back(2, u"B", 1, 1, 1);
        data.GetAxes().push_back(axis);
    }
    data.SetMemberDisplayOption(1);
    EXPECT_EQ(data.GetMemberDisplayOption(), 1);
    for (const RESTAxis& axis : data.GetAxes()) {
        EXPECT_EQ(axis.GetMemberDisplayOption(), 1);
        for (const RESTAxisDimension& dimension : axis.GetDimensions()) {
            EXPECT_EQ(dimension.GetMemberDisplayOption(), 1);
        }
    }
    EXPECT_EQ(RESTAxisDimension(3, u"Later", 0, 0, 0).GetMemberDisplayOption(), 2);
}

TEST(RESTDataTest, ClearKeepsCountsAndDrillThrough) {
    RESTData data;
    RESTCellTable cells(2, 3);
    cells.GetValues() = {u"1", u"2"};
    data.SetCellTable(cells);
    data.GetDrillThroughTable().GetValues().push_back(u"x");
    data.GetAxes().emplace_back(u"ROWS");
    data.Clear();
    EXPECT_TRUE(data.GetCellTable().GetValues().empty());
    EXPECT_EQ(data.GetCellTable().GetNumRows(), 2);
    EXPECT_EQ(data.GetCellTable().GetNumColumns(), 3);
    EXPECT_EQ(data.GetAxisCount(), 0u);
    EXPECT_EQ(data.GetDrillThroughTable().GetValues().size(), 1u);
}

}  // namespace
