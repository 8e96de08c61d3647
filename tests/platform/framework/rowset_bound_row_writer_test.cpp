// GetData's row writer: the same-type shortcut writes exactly what the general conversion
// writes, and a row's combined result follows the binding statuses.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bound_row_writer.h"

namespace {

DBBINDING Bound(DBORDINAL ordinal, DBTYPE type, DBLENGTH maxLen) {
    DBBINDING binding;
    std::memset(&binding, 0, sizeof(binding));
    binding.iOrdinal = ordinal;
    binding.obValue = 0;
    binding.obLength = 256;
    binding.obStatus = 264;
    binding.dwPart = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS;
    binding.cbMaxLen = maxLen;
    binding.wType = type;
    return binding;
}

// Both paths on the same value into two buffers that start alike.
void ExpectSameBytes(const DBBINDING& binding, DBTYPE type, const void* data, size_t length) {
    std::vector<BYTE> fast(280, 0xAB), general(280, 0xAB);
    DBSTATUS fastStatus = 99;
    const CompactValue value{static_cast<const BYTE*>(data), length};
    const bool taken = TryWriteSameType(binding, type, value, fast.data(), &fastStatus);
    const DBSTATUS generalStatus =
        WriteBoundValue(binding, type, data, length, DBSTATUS_S_OK, general.data());
    if (taken) {
        EXPECT_EQ(fastStatus, generalStatus);
        EXPECT_EQ(fast, general) << "type " << type << " length " << length;
    } else {
        EXPECT_EQ(fast, std::vector<BYTE>(280, 0xAB)) << "a refused shortcut writes nothing";
    }
}

TEST(BoundRowWriter, ShortcutMatchesTheGeneralConversion) {
    const char16_t text[] = u"Region <3>";
    ExpectSameBytes(Bound(1, DBTYPE_WSTR, 64), DBTYPE_WSTR, text, 20);
    ExpectSameBytes(Bound(1, DBTYPE_WSTR, 22), DBTYPE_WSTR, text, 20);  // exactly fits
    ExpectSameBytes(Bound(1, DBTYPE_WSTR, 20), DBTYPE_WSTR, text, 20);  // truncates: general path
    ExpectSameBytes(Bound(1, DBTYPE_WSTR, 64), DBTYPE_WSTR, text, 0);
    const char narrow[] = "abc";
    ExpectSameBytes(Bound(1, DBTYPE_STR, 8), DBTYPE_STR, narrow, 3);
    const LONG i4 = -17;
    ExpectSameBytes(Bound(1, DBTYPE_I4, 4), DBTYPE_I4, &i4, 4);
    const ULONG ui4 = 4000000000u;
    ExpectSameBytes(Bound(1, DBTYPE_UI4, 0), DBTYPE_UI4, &ui4, 4);
    const double r8 = 12.5;
    ExpectSameBytes(Bound(1, DBTYPE_R8, 8), DBTYPE_R8, &r8, 8);
    const GUID guid{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    ExpectSameBytes(Bound(1, DBTYPE_GUID, 16), DBTYPE_GUID, &guid, 16);
    const DBTIMESTAMP stamp{2026, 12, 7, 5, 30, 0, 0};
    ExpectSameBytes(Bound(1, DBTYPE_DBTIMESTAMP, 16), DBTYPE_DBTIMESTAMP, &stamp, 16);
    // A conversion is never a shortcut.
    ExpectSameBytes(Bound(1, DBTYPE_WSTR, 64), DBTYPE_I4, &i4, 4);
}

TEST(BoundRowWriter, ResultFollowsTheStatuses) {
    ATLCOLUMNINFO columns[2] = {
        MakeColumnInfo(const_cast<LPOLESTR>(u"A"), 1, 0, 64, DBTYPE_WSTR, 255, 255, 0, DBID{}),
        MakeColumnInfo(const_cast<LPOLESTR>(u"B"), 2, DBCOLUMNFLAGS_ISFIXEDLENGTH, 4, DBTYPE_I4, 0,
                       0, 64, DBID{})};
    std::vector<BYTE> rowBytes(68, 0);
    const char16_t text[] = u"12x";
    std::memcpy(rowBytes.data(), text, sizeof(text));
    const LONG number = 7;
    std::memcpy(rowBytes.data() + 64, &number, sizeof(number));
    const RowView row(rowBytes.data());
    std::vector<BYTE> out(300);
    EXPECT_EQ(WriteBoundRow({Bound(2, DBTYPE_I4, 4)}, columns, 2, row, out.data()), S_OK);
    // Text that is no number cannot become an I4; ordinal 9 is no column.
    EXPECT_EQ(WriteBoundRow({Bound(1, DBTYPE_I4, 4), Bound(2, DBTYPE_I4, 4)}, columns, 2, row,
                            out.data()),
              DB_S_ERRORSOCCURRED);
    EXPECT_EQ(WriteBoundRow({Bound(1, DBTYPE_I4, 4), Bound(9, DBTYPE_I4, 4)}, columns, 2, row,
                            out.data()),
              DB_E_ERRORSOCCURRED);
    DBSTATUS status = 0;
    std::memcpy(&status, out.data() + 264, sizeof(status));
    EXPECT_EQ(status, static_cast<DBSTATUS>(DBSTATUS_E_BADACCESSOR));
}

TEST(BoundRowWriter, ColumnsFoundOutOfOrder) {
    ATLCOLUMNINFO columns[2] = {MakeColumnInfo(nullptr, 5, 0, 4, DBTYPE_I4, 0, 0, 0, DBID{}),
                                MakeColumnInfo(nullptr, 1, 0, 4, DBTYPE_I4, 0, 0, 4, DBID{})};
    size_t index = 9;
    EXPECT_EQ(ColumnOfOrdinal(columns, 2, 1, &index), &columns[1]);
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(ColumnOfOrdinal(columns, 2, 5, &index), &columns[0]);
    EXPECT_EQ(ColumnOfOrdinal(columns, 2, 2, &index), nullptr);
    EXPECT_EQ(ColumnOfOrdinal(nullptr, 0, 1, &index), nullptr);
}

}  // namespace
