// ZelmoRowset: the dataset of an ordinary MDX answer (IMDDataset): axis information, axis rowsets
// and cell values read from a share of its command's query result. Its row array stays empty.
// The functions after the class are its logic, usable without COM.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "atl_oledb.h"
#include "provider/dummy_row_data.h"
#include "provider/zelmo_command.h"

class RESTAxis;
class RESTData;

class ZelmoRowset
    : public CRowsetImpl<ZelmoRowset, CDummyRowData, ZelmoCommand, CAtlArray<CDummyRowData>,
                         CSimpleRow, IRowsetImpl<ZelmoRowset, IRowset, CSimpleRow>>,
      public IErrorRecordsImpl<ZelmoRowset, ATLERRORINFO>,
      public IMDDataset {
  public:
    using RowsetBase =
        CRowsetImpl<ZelmoRowset, CDummyRowData, ZelmoCommand, CAtlArray<CDummyRowData>, CSimpleRow,
                    IRowsetImpl<ZelmoRowset, IRowset, CSimpleRow>>;

    // The error records are not offered through QueryInterface.
    BEGIN_COM_MAP(ZelmoRowset)
    COM_INTERFACE_ENTRY(IMDDataset)
    COM_INTERFACE_ENTRY_CHAIN(RowsetBase)
    END_COM_MAP()

    // Called by the framework's rowset creation: takes a share of the command's result.
    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected);

    STDMETHOD(CreateAccessor)
    (DBACCESSORFLAGS dwAccessorFlags, DBCOUNTITEM cBindings, const DBBINDING rgBindings[],
     DBLENGTH cbRowSize, HACCESSOR* phAccessor, DBBINDSTATUS rgStatus[]) override;
    STDMETHOD(ReleaseAccessor)(HACCESSOR hAccessor, DBREFCOUNT* pcRefCount) override;

    STDMETHOD(FreeAxisInfo)(DBCOUNTITEM cAxes, MDAXISINFO* rgAxisInfo) override;
    STDMETHOD(GetAxisInfo)(DBCOUNTITEM* pcAxes, MDAXISINFO** prgAxisInfo) override;
    STDMETHOD(GetAxisRowset)
    (IUnknown* pUnkOuter, DBCOUNTITEM iAxis, REFIID riid, ULONG cPropertySets,
     DBPROPSET rgPropertySets[], IUnknown** ppRowset) override;
    STDMETHOD(GetCellData)
    (HACCESSOR hAccessor, DBORDINAL ulStartCell, DBORDINAL ulEndCell, void* pData) override;
    // Serves IMDDataset and IRowsetInfo alike.
    STDMETHOD(GetSpecification)(REFIID riid, IUnknown** ppSpecification) override;

    // The row size the accessor was made with; 1 for one that did not come through
    // CreateAccessor here (such as one copied from the command).
    DBLENGTH GetAccessorRowSize(HACCESSOR hAccessor) const;

    std::shared_ptr<RESTData> restData;
    std::map<HACCESSOR, DBLENGTH> accessorRowSizes;
};

// The number of cell values, or 0 when the table has no rows or no columns.
DBROWCOUNT CellCountOf(const RESTData& result);

// MDAXIS_COLUMNS for "COLUMNS", MDAXIS_ROWS for "ROWS", MDAXIS_PAGES for any other name.
DBCOUNTITEM AxisOrdinalFromName(const RESTAxis& axis);

// A new axis information array (task allocator blocks) for the result's axes; throws
// std::runtime_error("Server response error.") for a failed result, std::bad_alloc when memory
// runs out (nothing is then left allocated).
void BuildAxisInfo(const RESTData& result, DBCOUNTITEM* pcAxes, MDAXISINFO** prgAxisInfo);
void FreeAxisInfoArray(DBCOUNTITEM cAxes, MDAXISINFO* rgAxisInfo);

// Cell c as a VARIANT the caller owns: VT_R8 for a number text (the empty text is 0.0), else a
// VT_BSTR copy of the text; VT_BSTR null past the last value. Throws std::runtime_error
// ("Failed to get data from the server.") when the table has no rows or no columns.
VARIANT GetCellVariant(const RESTData& result, DBORDINAL c);

// GetCellData's work: cells first..last (none when first > last), one row of rowSize bytes each,
// through the bindings. S_OK, or DB_S_ERRORSOCCURRED when a binding got an error status.
HRESULT WriteCellRows(const RESTData& result, const std::vector<DBBINDING>& bindings,
                      DBLENGTH rowSize, DBORDINAL first, DBORDINAL last, BYTE* pData);
