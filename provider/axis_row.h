// CAxisRow: the row array of an axis rowset: columns built at run time from one axis of a query
// result, and one row buffer that FillAxisRow refills with tuple i on demand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "client/rest_data.h"
#include "column_info.h"

// What an axis rowset column shows.
enum class AxisColumnField : uint8_t {
    kTupleOrdinal,
    kMemberUniqueName,
    kMemberCaption,
    kLevelUniqueName,
    kLevelNumber,
    kDisplayInfo,
    kParentUniqueName,
    kMemberName,
    kMemberType,
};

// Bytes of a text column: 1023 characters and the terminator.
constexpr DBLENGTH kAxisTextColumnBytes = 2048;
constexpr size_t kAxisTextChars = kAxisTextColumnBytes / sizeof(WCHAR) - 1;

class CAxisRow {
  public:
    CAxisRow() = default;
    ~CAxisRow() { Clear(); }
    CAxisRow(const CAxisRow&) = delete;
    CAxisRow& operator=(const CAxisRow&) = delete;

    // Columns of axis axisNumber of the result, which the row array keeps a share of. False,
    // with nothing built, when axisNumber is not below the number of axes.
    bool Build(std::shared_ptr<const RESTData> result, size_t axisNumber);
    // Frees the columns, their names and the row buffer, and drops the result.
    void Clear();

    // The axis' tuple count; 0 before the columns are built.
    size_t GetCount() const;
    ATLCOLUMNINFO* GetColumnInfo(DBORDINAL* pcInfo);
    size_t GetRowSize() const { return rowSize; }
    // The framework's access to row i; valid until the next fetch.
    char* FetchRow(size_t index);

  private:
    friend char* FillAxisRow(CAxisRow& rowArray, size_t index);

    struct ColumnRole {
        size_t dimension;
        AxisColumnField field;
    };
    void AddColumn(std::u16string name, DBTYPE type, DBLENGTH size, BYTE precision,
                   ColumnRole role);

    std::vector<BYTE> rowBuffer;
    std::shared_ptr<const RESTData> result;
    const RESTAxis* axis = nullptr;
    std::vector<std::u16string> columnNames;
    std::vector<ATLCOLUMNINFO> columns;
    std::vector<ColumnRole> roles;
    size_t rowSize = 0;
};

// Writes tuple `index` of the axis into the row buffer and returns it; throws std::out_of_range
// ("Index out of bounds while accessing the member tuples vector") past the last tuple.
char* FillAxisRow(CAxisRow& rowArray, size_t index);
