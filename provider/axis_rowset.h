// CAxisRowset: the axis rowset of a dataset, one row per tuple of one axis of its command's query
// result, with the columns of CAxisRow built when the rowset is created.
#pragma once

#include <memory>

#include "atl_oledb.h"
#include "provider/axis_row.h"
#include "provider/zelmo_command.h"

class CAxisRowset : public CRowsetImpl<CAxisRowset, char*, ZelmoCommand, CAxisRow, CSimpleRow,
                                       IRowsetImpl<CAxisRowset, IRowset, CSimpleRow>> {
  public:
    // *pcRowsAffected carries the axis number in and the tuple count out. E_INVALIDARG for an
    // axis number that is not below the number of axes (or no such argument).
    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected);

    // False, with nothing built, when axisNumber is not below the number of the result's axes.
    static bool BuildAxisColumns(CAxisRow& rowArray, size_t axisNumber,
                                 std::shared_ptr<const RESTData> result);
};
