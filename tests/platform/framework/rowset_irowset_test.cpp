// IRowset and IRowsetIdentity through the test provider: row handles and their counts, fetching
// in both directions with every published outcome, restart, and row identity.
#include "rowset_test_consumer.h"

namespace {

CComPtr<IRowset> RowsetWith(const char16_t* text, bool backwards, bool hold) {
    CComPtr<ICommandText> command = OpenCommand(text);
    SetRowsetProperty(command, DBPROP_CANFETCHBACKWARDS, backwards);
    SetRowsetProperty(command, DBPROP_CANSCROLLBACKWARDS, backwards);
    SetRowsetProperty(command, DBPROP_CANHOLDROWS, hold);
    return ExecuteRowset(command);
}

void Release(IRowset* rowset, const std::vector<HROW>& rows) {
    if (!rows.empty()) {
        EXPECT_EQ(rowset->ReleaseRows(rows.size(), rows.data(), nullptr, nullptr, nullptr), S_OK);
    }
}

TEST(RowsetRows, ArgumentsAndDirectionPermissions) {
    CComPtr<IRowset> rowset = RowsetWith(u"rows:4", false, false);
    DBCOUNTITEM obtained = 7;
    HROW* handles = nullptr;
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, nullptr, &handles), E_INVALIDARG);
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, nullptr), E_INVALIDARG);
    EXPECT_EQ(obtained, 0u);
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 0, -1, &obtained, &handles),
              DB_E_CANTFETCHBACKWARDS);
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, -1, 1, &obtained, &handles),
              DB_E_CANTSCROLLBACKWARDS);
    EXPECT_EQ(handles, nullptr);
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 0, &obtained, &handles), S_OK);
    EXPECT_EQ(obtained, 0u);
}

TEST(RowsetRows, ForwardToTheEndWithConsumerArray) {
    CComPtr<IRowset> rowset = RowsetWith(u"rows:5", false, false);
    HROW own[8] = {};
    HROW* handles = own;
    DBCOUNTITEM obtained = 0;
    ASSERT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 1, 3, &obtained, &handles), S_OK);
    EXPECT_EQ(handles, own);
    ASSERT_EQ(obtained, 3u);
    // Handles are row index + 1, so rows 1..3 have handles 2..4.
    EXPECT_EQ(own[0], 2u);
    EXPECT_EQ(own[2], 4u);
    // Rows still held and CANHOLDROWS false.
    DBCOUNTITEM none = 9;
    HROW* more = nullptr;
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &none, &more), DB_E_ROWSNOTRELEASED);
    EXPECT_EQ(rowset->RestartPosition(DB_NULL_HCHAPTER), DB_E_ROWSNOTRELEASED);
    Release(rowset, std::vector<HROW>(own, own + 3));
    std::vector<HROW> last = NextRows(rowset, 0, 5, DB_S_ENDOFROWSET);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0], 5u);
    Release(rowset, last);
    EXPECT_TRUE(NextRows(rowset, 0, 1, DB_S_ENDOFROWSET).empty());
    EXPECT_TRUE(NextRows(rowset, 1, 1, DB_E_BADSTARTPOSITION).empty());
    EXPECT_EQ(rowset->RestartPosition(DB_NULL_HCHAPTER), S_OK);
    std::vector<HROW> again = NextRows(rowset, 0, 1, S_OK);
    EXPECT_EQ(again, std::vector<HROW>{1});
    Release(rowset, again);
}

TEST(RowsetRows, BackwardFetchAndReversal) {
    CComPtr<IRowset> rowset = RowsetWith(u"rows:5", true, true);
    std::vector<HROW> fromEnd = NextRows(rowset, 0, -2, S_OK);
    EXPECT_EQ(fromEnd, (std::vector<HROW>{5, 4}));
    std::vector<HROW> reversed = NextRows(rowset, 0, 2, S_OK);
    EXPECT_EQ(reversed, (std::vector<HROW>{4, 5}));
    std::vector<HROW> skipBack = NextRows(rowset, -4, -3, DB_S_ENDOFROWSET);
    EXPECT_EQ(skipBack, (std::vector<HROW>{1}));
    EXPECT_TRUE(NextRows(rowset, -2, -1, DB_E_BADSTARTPOSITION).empty());
    Release(rowset, fromEnd);
    Release(rowset, reversed);
    Release(rowset, skipBack);
}

TEST(RowsetRows, ReferenceCountsAndStatuses) {
    CComPtr<IRowset> rowset = RowsetWith(u"rows:3", true, true);
    std::vector<HROW> rows = NextRows(rowset, 0, 2, S_OK);
    std::vector<HROW> again = NextRows(rowset, -2, 1, S_OK);
    ASSERT_EQ(again, std::vector<HROW>{rows[0]});
    DBREFCOUNT counts[3] = {};
    DBROWSTATUS statuses[3] = {};
    HROW mixed[3] = {rows[0], 999, rows[1]};
    EXPECT_EQ(rowset->AddRefRows(3, mixed, counts, statuses), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(counts[0], 3u);
    EXPECT_EQ(counts[1], 0u);
    EXPECT_EQ(counts[2], 2u);
    EXPECT_EQ(statuses[1], static_cast<DBROWSTATUS>(DBROWSTATUS_E_INVALID));
    EXPECT_EQ(statuses[2], static_cast<DBROWSTATUS>(DBROWSTATUS_S_OK));
    EXPECT_EQ(rowset->AddRefRows(2, nullptr, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(rowset->AddRefRows(0, nullptr, nullptr, nullptr), S_OK);
    HROW bad[1] = {12345};
    EXPECT_EQ(rowset->AddRefRows(1, bad, nullptr, nullptr), DB_E_ERRORSOCCURRED);

    EXPECT_EQ(rowset->ReleaseRows(3, mixed, nullptr, counts, statuses), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(counts[0], 2u);
    EXPECT_EQ(counts[2], 1u);
    HROW both[2] = {rows[0], rows[0]};
    EXPECT_EQ(rowset->ReleaseRows(2, both, nullptr, counts, nullptr), S_OK);
    EXPECT_EQ(counts[1], 0u);
    // Gone now: a released handle is refused everywhere.
    EXPECT_EQ(rowset->ReleaseRows(1, both, nullptr, counts, statuses), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(rowset->ReleaseRows(1, &rows[1], nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(rowset->ReleaseRows(0, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(rowset->ReleaseRows(1, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
}

TEST(RowsetRows, IdentityOfHandles) {
    CComPtr<IRowset> rowset = RowsetWith(u"rows:3", true, true);
    CComQIPtr<IRowsetIdentity> identity(rowset);
    ASSERT_TRUE(identity);
    std::vector<HROW> a = NextRows(rowset, 0, 2, S_OK);
    std::vector<HROW> b = NextRows(rowset, -1, 1, S_OK);
    EXPECT_EQ(identity->IsSameRow(a[1], b[0]), S_OK);
    EXPECT_EQ(identity->IsSameRow(a[0], a[1]), S_FALSE);
    EXPECT_EQ(identity->IsSameRow(a[0], 777), DB_E_BADROWHANDLE);
    EXPECT_EQ(identity->IsSameRow(DB_NULL_HROW, a[0]), DB_E_BADROWHANDLE);
    Release(rowset, a);
    Release(rowset, b);
    EXPECT_EQ(identity->IsSameRow(a[0], a[0]), DB_E_BADROWHANDLE);
}

TEST(RowsetRows, EmptyRowset) {
    CComPtr<IRowset> rowset = RowsetWith(u"rows:0", true, false);
    EXPECT_TRUE(NextRows(rowset, 0, 1, DB_S_ENDOFROWSET).empty());
    EXPECT_TRUE(NextRows(rowset, 0, -1, DB_S_ENDOFROWSET).empty());
    EXPECT_EQ(rowset->RestartPosition(DB_NULL_HCHAPTER), S_OK);
}

}  // namespace
