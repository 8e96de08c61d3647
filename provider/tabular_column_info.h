// CTabularColumnInfo: the drill-through rowset's columns, built from the header of a query
// result's drill-through table, and the filling of one row from the table's values.
#pragma once

#include <string>
#include <vector>

#include "client/rest_data.h"
#include "column_info.h"

// Each column takes 512 bytes of a row; a text cell holds at most 255 characters.
constexpr int kTabularColumnBytes = 512;
constexpr size_t kTabularTextChars = 255;

class CTabularColumnInfo {
  public:
    // Keeps the result (borrowed; read only while the rowset is built) and builds the columns
    // when the table has any.
    explicit CTabularColumnInfo(const RESTData* restData);
    CTabularColumnInfo(const CTabularColumnInfo&) = delete;
    CTabularColumnInfo& operator=(const CTabularColumnInfo&) = delete;

    int GetColumnCount() const { return columnCount; }
    ATLCOLUMNINFO* GetColumns(DBORDINAL* pcColumns);
    // Title c of the header; "" when there is no such title or no columns.
    std::u16string GetColumnName(int c) const;
    int GetRowCount() const;
    int GetRowLength() const;
    // Writes row r into a zero-filled buffer of GetRowLength() bytes: the texts of columns
    // 0..n-2 (cut at 255 characters), then the last cell read as a double; cells missing from
    // the table's values stay empty (0.0 for the last).
    void FillRow(int r, BYTE* buffer) const;

  private:
    void BuildColumns();

    const RESTData* restData;
    int columnCount = 0;
    std::vector<std::u16string> names;
    std::vector<ATLCOLUMNINFO> columns;
};
