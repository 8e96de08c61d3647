// Row arrays as the rowset reads them: which arrays become compact, what a compact array gives
// back, and raw column reads that stay inside their column.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#include <type_traits>

#include "row_array_access.h"
#include "test_provider_objects.h"

namespace {

static_assert(std::is_same_v<RowArrayFor<CAtlArray<TestMemberRow>, TestMemberRow>::type,
                             CCompactRowArray<TestMemberRow>>);
static_assert(std::is_same_v<RowArrayFor<CAtlArray<TestTabularRowData>, TestTabularRowData>::type,
                             CAtlArray<TestTabularRowData>>);
static_assert(std::is_same_v<RowArrayFor<TestAxisRow, char*>::type, TestAxisRow>);
static_assert(std::is_same_v<TestSchemaRowset::_RowsetArrayType, CCompactRowArray<TestMemberRow>>);
static_assert(HasFetchRow<TestAxisRow>::value && !HasFetchRow<CAtlArray<TestMemberRow>>::value);

TEST(RowArrayAccess, CompactArrayGivesRecordsBack) {
    CCompactRowArray<TestMemberRow> rows;
    const TestMemberRow first = MakeMemberRow(u"first", 1);
    const TestMemberRow second = MakeMemberRow(std::u16string(3000, u'x'), 2);
    EXPECT_EQ(rows.Add(first), 0u);
    EXPECT_EQ(rows.Add(second), 1u);
    ASSERT_EQ(rows.GetCount(), 2u);
    const TestMemberRow back = rows.GetAt(0);
    // MakeMemberRow starts from zeros and GetAt zero-fills, so padding compares equal.
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    EXPECT_EQ(std::memcmp(&back, &first, sizeof(TestMemberRow)), 0);
    // A text longer than its column was cut when the row was built; it reads back whole.
    const TestMemberRow longer = rows.GetAt(1);
    EXPECT_EQ(std::u16string(longer.name).size(), 2047u);
    rows.RemoveAll();
    EXPECT_TRUE(rows.IsEmpty());
}

TEST(RowArrayAccess, RawReadsStayInsideTheColumn) {
    BYTE row[16];
    std::memset(row, 'a', sizeof(row));
    ATLCOLUMNINFO wide = MakeColumnInfo(nullptr, 1, 0, 8, DBTYPE_WSTR, 0, 0, 4, DBID{});
    EXPECT_EQ(RawColumnValue(row, wide).length, 8u);
    row[6] = 0;
    row[7] = 0;
    EXPECT_EQ(RawColumnValue(row, wide).length, 2u);
    ATLCOLUMNINFO narrow = MakeColumnInfo(nullptr, 1, 0, 5, DBTYPE_STR, 0, 0, 8, DBID{});
    EXPECT_EQ(RawColumnValue(row, narrow).length, 5u);
    // A VARIANT declared narrower than itself is read whole.
    ATLCOLUMNINFO variant = MakeColumnInfo(nullptr, 1, 0, 16, DBTYPE_VARIANT, 0, 0, 0, DBID{});
    EXPECT_EQ(RawColumnValue(row, variant).length, sizeof(VARIANT));
}

TEST(RowArrayAccess, WideTextSpansReachTheNextColumnButNoFurther) {
    // A slot of 512 bytes whose size says 256 characters, as a drill-through row lays it out.
    const ATLCOLUMNINFO slots[] = {
        MakeColumnInfo(nullptr, 1, 0, 256, DBTYPE_WSTR, 255, 255, 0, DBID{}),
        MakeColumnInfo(nullptr, 2, 0, 8, DBTYPE_R8, 16, 2, 512, DBID{}),
    };
    EXPECT_EQ(RawTextSpan(slots, 2, slots[0]), 512u);
    // Slots declared in bytes keep their size; the last column never reads past it.
    const ATLCOLUMNINFO bytes[] = {
        MakeColumnInfo(nullptr, 1, 0, 2048, DBTYPE_WSTR, 255, 255, 4, DBID{}),
        MakeColumnInfo(nullptr, 2, 0, 2048, DBTYPE_WSTR, 255, 255, 2052, DBID{}),
    };
    EXPECT_EQ(RawTextSpan(bytes, 2, bytes[0]), 2048u);
    EXPECT_EQ(RawTextSpan(bytes, 2, bytes[1]), 2048u);

    std::vector<BYTE> row(520, 'a');
    row[510] = 0;
    row[511] = 0;
    EXPECT_EQ(RawColumnValue(row.data(), slots[0], RawTextSpan(slots, 2, slots[0])).length, 510u);
    EXPECT_EQ(RawColumnValue(row.data(), slots[0]).length, 256u);
}

TEST(RowArrayAccess, OnDemandRowsAreFetchedPerOpen) {
    TestAxisRow axis;
    axis.Build(3, 1);
    DBORDINAL count = 0;
    ATLCOLUMNINFO* columns = axis.GetColumnInfo(&count);
    ASSERT_EQ(count, 3u);
    const RowView view = OpenAnyRow(axis, 2);
    EXPECT_EQ(axis.Fetches(), 1u);
    ULONG ordinal = 0;
    std::memcpy(&ordinal, view.Read(columns[0], 0).data, sizeof(ordinal));
    EXPECT_EQ(ordinal, 2u);
    EXPECT_EQ(view.Read(columns[1], 1).length, 3 * sizeof(WCHAR));
    EXPECT_THROW(OpenAnyRow(axis, 3), std::out_of_range);
}

}  // namespace
