// The next fetch position: both directions, direction reversal, the ends and bad starts.
#include <gtest/gtest.h>

#include "row_fetch_cursor.h"

namespace {

struct Fetched {
    HRESULT hr;
    std::vector<DBCOUNTITEM> rows;
};

Fetched Fetch(RowFetchCursor& cursor, DBCOUNTITEM count, DBROWOFFSET offset, DBROWCOUNT cRows) {
    const RowFetchPlan plan = cursor.Fetch(count, offset, cRows);
    Fetched result{plan.hr, {}};
    DBCOUNTITEM row = plan.first;
    for (DBCOUNTITEM i = 0; i < plan.count; ++i, row += static_cast<DBCOUNTITEM>(plan.step))
        result.rows.push_back(row);
    return result;
}

using Rows = std::vector<DBCOUNTITEM>;

TEST(RowFetchCursor, ForwardThenBackwardRereadsTheLastRow) {
    RowFetchCursor cursor;
    Fetched f = Fetch(cursor, 5, 0, 3);
    EXPECT_EQ(f.hr, S_OK);
    EXPECT_EQ(f.rows, (Rows{0, 1, 2}));
    f = Fetch(cursor, 5, 0, -2);
    EXPECT_EQ(f.hr, S_OK);
    EXPECT_EQ(f.rows, (Rows{2, 1}));
    f = Fetch(cursor, 5, 0, 2);
    EXPECT_EQ(f.rows, (Rows{1, 2}));
}

TEST(RowFetchCursor, SkipsAndStopsAtTheEnd) {
    RowFetchCursor cursor;
    Fetched f = Fetch(cursor, 5, 2, 10);
    EXPECT_EQ(f.hr, DB_S_ENDOFROWSET);
    EXPECT_EQ(f.rows, (Rows{2, 3, 4}));
    f = Fetch(cursor, 5, 0, 1);
    EXPECT_EQ(f.hr, DB_S_ENDOFROWSET);
    EXPECT_TRUE(f.rows.empty());
    // One row past the end is the end; further is a bad start.
    f = Fetch(cursor, 5, 1, 1);
    EXPECT_EQ(f.hr, DB_E_BADSTARTPOSITION);
}

TEST(RowFetchCursor, BackwardFromTheStartBeginsAtTheLastRow) {
    RowFetchCursor cursor;
    Fetched f = Fetch(cursor, 4, 0, -3);
    EXPECT_EQ(f.hr, S_OK);
    EXPECT_EQ(f.rows, (Rows{3, 2, 1}));
    f = Fetch(cursor, 4, 0, -3);
    EXPECT_EQ(f.hr, DB_S_ENDOFROWSET);
    EXPECT_EQ(f.rows, (Rows{0}));
    f = Fetch(cursor, 4, 0, -1);
    EXPECT_EQ(f.hr, DB_S_ENDOFROWSET);
    EXPECT_TRUE(f.rows.empty());
    cursor.Restart();
    f = Fetch(cursor, 4, -1, 1);
    EXPECT_EQ(f.rows, (Rows{3}));
}

TEST(RowFetchCursor, BadStartPositionsAndHugeValues) {
    RowFetchCursor cursor;
    EXPECT_EQ(Fetch(cursor, 3, 5, 1).hr, DB_E_BADSTARTPOSITION);
    EXPECT_EQ(Fetch(cursor, 3, INT64_MAX, 1).hr, DB_E_BADSTARTPOSITION);
    EXPECT_EQ(Fetch(cursor, 3, INT64_MIN, -1).hr, DB_E_BADSTARTPOSITION);
    Fetched f = Fetch(cursor, 3, 0, INT64_MAX);
    EXPECT_EQ(f.hr, DB_S_ENDOFROWSET);
    EXPECT_EQ(f.rows.size(), 3u);
    f = Fetch(cursor, 3, 0, INT64_MIN);
    EXPECT_EQ(f.hr, DB_S_ENDOFROWSET);
    EXPECT_EQ(f.rows, (Rows{2, 1, 0}));
    // No rows requested: nothing moves.
    f = Fetch(cursor, 3, 2, 0);
    EXPECT_EQ(f.hr, S_OK);
    EXPECT_EQ(cursor.Position(), 0u);
}

TEST(RowFetchCursor, EmptyRowset) {
    RowFetchCursor cursor;
    EXPECT_EQ(Fetch(cursor, 0, 0, 1).hr, DB_S_ENDOFROWSET);
    EXPECT_EQ(Fetch(cursor, 0, 0, -1).hr, DB_S_ENDOFROWSET);
}

}  // namespace
