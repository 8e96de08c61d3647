// The drill-through rowset's Execute and column information.
#include "provider/tabular_rowset.h"

HRESULT CTabularRowset::Execute(DBPARAMS*, DBROWCOUNT* pcRowsAffected) {
    const HRESULT hr = ShareCommandResult(m_spUnkSite, &restData);
    if (FAILED(hr)) return hr;
    columnInfo = std::make_unique<CTabularColumnInfo>(restData.get());
    if (pcRowsAffected != nullptr && restData != nullptr)
        *pcRowsAffected = columnInfo->GetRowCount();
    if (restData == nullptr) return S_OK;
    const int rows = columnInfo->GetRowCount();
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
