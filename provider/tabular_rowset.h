// CTabularRowset: the flat rowset of a drill-through answer. Execute builds the columns from the
// table's header and copies every row out of the command's query result.
#pragma once

#include <memory>

#include "atl_oledb.h"
#include "provider/tabular_column_info.h"
#include "provider/tabular_row_data.h"
#include "provider/zelmo_command.h"

class CTabularRowset
    : public CRowsetImpl<CTabularRowset, CTabularRowData, ZelmoCommand, CAtlArray<CTabularRowData>,
                         CSimpleRow, IRowsetImpl<CTabularRowset, IRowset, CSimpleRow>> {
  public:
    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected);
    // The framework's column source: none before Execute.
    static ATLCOLUMNINFO* GetColumnInfo(CTabularRowset* pThis, DBORDINAL* pcColumns);

    std::shared_ptr<RESTData> restData;
    std::unique_ptr<CTabularColumnInfo> columnInfo;
};
