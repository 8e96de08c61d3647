// The drill-through rowset's Execute and column information.
#include "provider/tabular_rowset.h"

#include <unistd.h>

#include <new>

namespace {

// Bytes a row costs beyond its buffer: its place in the row array and its heap block's header.
constexpr double kRowOverhead = 64;

// A table that could never be held fails as memory exhaustion at once, instead of draining the
// system row by row first.
void CheckRowsFit(int rows, int rowLength) {
    const double bytes = static_cast<double>(rows) * (rowLength + kRowOverhead);
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0 &&
        bytes > static_cast<double>(pages) * static_cast<double>(pageSize))
        throw std::bad_alloc();
}

}  // namespace

HRESULT CTabularRowset::Execute(DBPARAMS*, DBROWCOUNT* pcRowsAffected) {
    const HRESULT hr = ShareCommandResult(m_spUnkSite, &restData);
    if (FAILED(hr)) return hr;
    columnInfo = std::make_unique<CTabularColumnInfo>(restData.get());
    if (pcRowsAffected != nullptr && restData != nullptr)
        *pcRowsAffected = columnInfo->GetRowCount();
    if (restData == nullptr) return S_OK;
    const int rows = columnInfo->GetRowCount();
    CheckRowsFit(rows, columnInfo->GetRowLength());
    for (int r = 0; r < rows; ++r) {
        CTabularRowData row(columnInfo->GetRowLength());
        columnInfo->FillRow(r, row.Buffer());
        m_rgRowData.Add(row);
    }
    return S_OK;
}

ATLCOLUMNINFO* CTabularRowset::GetColumnInfo(CTabularRowset* pThis, DBORDINAL* pcColumns) {
    if (pThis == nullptr || pThis->columnInfo == nullptr) {
        if (pcColumns != nullptr) *pcColumns = 0;
        return nullptr;
    }
    return pThis->columnInfo->GetColumns(pcColumns);
}
