// How a rowset reads its rows: the compact row array for records with a column map, and the view
// of one row that GetData reads column values through, whatever kind of row array holds it.
#pragma once

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "atl_array.h"
#include "column_info.h"
#include "compact_row_store.h"

// Bytes a value of a fixed-length type occupies, so that a column declared narrower than its type
// (a VARIANT declared as 16 bytes) is still stored and read whole.
inline size_t FixedTypeSize(DBTYPE type) {
    switch (type) {
        case DBTYPE_VARIANT:
            return sizeof(VARIANT);
        case DBTYPE_GUID:
            return sizeof(GUID);
        case DBTYPE_DBTIMESTAMP:
            return sizeof(DBTIMESTAMP);
        case DBTYPE_BSTR:
            return sizeof(BSTR);
        case DBTYPE_I8:
        case DBTYPE_UI8:
        case DBTYPE_R8:
        case DBTYPE_DATE:
        case DBTYPE_CY:
            return 8;
        case DBTYPE_I4:
        case DBTYPE_UI4:
        case DBTYPE_R4:
        case DBTYPE_ERROR:
            return 4;
        case DBTYPE_I2:
        case DBTYPE_UI2:
        case DBTYPE_BOOL:
            return 2;
        case DBTYPE_I1:
        case DBTYPE_UI1:
            return 1;
        default:
            return 0;
    }
}

// The compact layout of a record described by a column map.
inline std::vector<CompactColumn> CompactColumnsOf(const ATLCOLUMNINFO* columns, DBORDINAL count) {
    std::vector<CompactColumn> layout;
    layout.reserve(count);
    for (DBORDINAL c = 0; c < count; ++c) {
        const ATLCOLUMNINFO& column = columns[c];
        CompactColumnKind kind = CompactColumnKind::Fixed;
        if (column.wType == DBTYPE_WSTR) kind = CompactColumnKind::WideText;
        if (column.wType == DBTYPE_STR) kind = CompactColumnKind::NarrowText;
        const size_t width =
            kind == CompactColumnKind::Fixed
                ? std::max<size_t>(column.ulColumnSize, FixedTypeSize(column.wType))
                : column.ulColumnSize;
        layout.push_back({column.cbOffset, width, kind});
    }
    return layout;
}

// A row array of records that keeps each text at its length. Add and GetCount as CAtlArray;
// GetAt gives a copy of a record, as it was added (bytes outside the columns read as zero).
template <class Storage>
class CCompactRowArray {
  public:
    size_t Add(const Storage& row) {
        if (!m_laidOut) {
            DBORDINAL count = 0;
            const ATLCOLUMNINFO* columns = Storage::GetColumnInfo(nullptr, &count);
            m_store.Layout(CompactColumnsOf(columns, count), sizeof(Storage));
            m_laidOut = true;
        }
        return m_store.Append(&row);
    }
    size_t GetCount() const { return m_store.GetCount(); }
    bool IsEmpty() const { return m_store.GetCount() == 0; }
    Storage GetAt(size_t index) const {
        Storage row;
        m_store.Materialize(index, &row);
        return row;
    }
    void RemoveAll() { m_store.Clear(); }
    const CompactRowStore& Store() const { return m_store; }
    size_t MemoryUsed() const { return m_store.MemoryUsed(); }

  private:
    CompactRowStore m_store;
    bool m_laidOut = false;
};

template <class Array>
struct IsCompactRowArray : std::false_type {};
template <class Storage>
struct IsCompactRowArray<CCompactRowArray<Storage>> : std::true_type {};

// How many bytes a text column may take in raw row bytes. A wide text column's size counts
// characters, as the published column information has it, but rows often declare it in bytes
// (the whole slot): the text may run on to the next column's offset, never past it, and never
// past the declared size when no column follows.
inline size_t RawTextSpan(const ATLCOLUMNINFO* columns, DBORDINAL count,
                          const ATLCOLUMNINFO& column) {
    const size_t declared = column.ulColumnSize;
    if (column.wType != DBTYPE_WSTR) return declared;
    size_t gap = 0;
    for (DBORDINAL c = 0; c < count; ++c) {
        if (columns[c].cbOffset <= column.cbOffset) continue;
        const size_t distance = columns[c].cbOffset - column.cbOffset;
        if (gap == 0 || distance < gap) gap = distance;
    }
    return std::max(declared, std::min(gap, declared * sizeof(WCHAR)));
}

// The bytes of a column value inside raw row bytes: a text's length is found within textSpan
// bytes of the column (its declared size unless the caller knows the row's layout).
inline CompactValue RawColumnValue(const BYTE* row, const ATLCOLUMNINFO& column,
                                   size_t textSpan = 0) {
    const BYTE* data = row + column.cbOffset;
    const size_t span = textSpan != 0 ? textSpan : static_cast<size_t>(column.ulColumnSize);
    if (column.wType == DBTYPE_WSTR) {
        const size_t units = span / sizeof(WCHAR);
        size_t n = 0;
        while (n < units && (data[2 * n] != 0 || data[2 * n + 1] != 0)) ++n;
        return {data, n * sizeof(WCHAR)};
    }
    if (column.wType == DBTYPE_STR) {
        const void* end = std::memchr(data, 0, span);
        return {data, end ? static_cast<size_t>(static_cast<const BYTE*>(end) - data) : span};
    }
    return {data, std::max<size_t>(column.ulColumnSize, FixedTypeSize(column.wType))};
}

// One row as GetData reads it: either a row of a compact store or raw bytes laid out per the
// column offsets.
class RowView {
  public:
    RowView(const CompactRowStore* store, size_t row)
        : m_store(store), m_bytes(store->RowBase(row)) {}
    explicit RowView(const BYTE* bytes) : m_bytes(bytes) {}

    CompactValue Read(const ATLCOLUMNINFO& column, size_t columnIndex, size_t textSpan = 0) const {
        if (m_store == nullptr) return RawColumnValue(m_bytes, column, textSpan);
        if (columnIndex >= m_store->GetColumnCount()) return {nullptr, 0};
        return m_store->ReadIn(m_bytes, columnIndex);
    }

  private:
    const CompactRowStore* m_store = nullptr;
    const BYTE* m_bytes = nullptr;  // the compact row, or the raw row
};

template <class Array, class = void>
struct HasFetchRow : std::false_type {};
template <class Array>
struct HasFetchRow<Array, std::void_t<decltype(static_cast<const void*>(
                              std::declval<Array&>().FetchRow(size_t{})))>> : std::true_type {};

template <class Storage, class = void>
struct HasStaticColumnMap : std::false_type {};
template <class Storage>
struct HasStaticColumnMap<Storage,
                          std::void_t<decltype(Storage::GetColumnInfo(
                              static_cast<void*>(nullptr), static_cast<DBORDINAL*>(nullptr)))>>
    : std::true_type {};

template <class Array, class = void>
struct HasArrayColumnInfo : std::false_type {};
template <class Array>
struct HasArrayColumnInfo<Array, std::void_t<decltype(std::declval<Array&>().GetColumnInfo(
                                     static_cast<DBORDINAL*>(nullptr)))>> : std::true_type {};

// The row array a rowset holds for the one it declares: CAtlArray of plain records with a column
// map becomes the compact array; every other array is kept as declared.
template <class ArrayType, class Storage>
struct RowArrayFor {
    using type = ArrayType;
};
template <class Storage>
struct RowArrayFor<CAtlArray<Storage>, Storage> {
    using type = std::conditional_t<std::is_trivially_copyable_v<Storage> &&
                                        std::is_default_constructible_v<Storage> &&
                                        HasStaticColumnMap<Storage>::value,
                                    CCompactRowArray<Storage>, CAtlArray<Storage>>;
};

// Opens row i of any row array: a compact array gives a view into its store; an array with
// FetchRow(i) builds the row on demand (the view is valid until the next fetch); otherwise the
// address of the element is the row (a row class may answer & with its own buffer).
template <class Array>
RowView OpenRow(Array& rows, size_t index) {
    return RowView(reinterpret_cast<const BYTE*>(&rows[index]));
}
template <class Storage>
RowView OpenRow(CCompactRowArray<Storage>& rows, size_t index) {
    return RowView(&rows.Store(), index);
}
template <class Array>
std::enable_if_t<HasFetchRow<Array>::value, RowView> OpenFetchedRow(Array& rows, size_t index) {
    return RowView(static_cast<const BYTE*>(static_cast<const void*>(rows.FetchRow(index))));
}
template <class Array>
RowView OpenAnyRow(Array& rows, size_t index) {
    if constexpr (HasFetchRow<Array>::value) {
        return OpenFetchedRow(rows, index);
    } else {
        return OpenRow(rows, index);
    }
}
