// CTabularRowData: one row of the drill-through rowset, an owned zero-filled buffer; taking a
// row's address yields its buffer, which is how the framework reads it.
#pragma once

#include <cstddef>
#include <memory>

#include "com_base.h"

class CTabularRowData {
  public:
    explicit CTabularRowData(int rowLength = 0);
    CTabularRowData(const CTabularRowData& other);
    CTabularRowData& operator=(const CTabularRowData& other);
    CTabularRowData(CTabularRowData&& other) noexcept = default;
    CTabularRowData& operator=(CTabularRowData&& other) noexcept = default;
    ~CTabularRowData() = default;

    int GetRowLength() const { return rowLength; }
    BYTE* Buffer() { return buffer.get(); }
    const BYTE* Buffer() const { return buffer.get(); }
    BYTE* operator&() { return buffer.get(); }
    const BYTE* operator&() const { return buffer.get(); }

  private:
    int rowLength = 0;
    std::unique_ptr<BYTE[]> buffer;
};
