// Reading an OLE DB rowset as a consumer: its columns, then every row of chosen columns.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "oledb.h"
#include "tools/zelmo/com_ref.h"
#include "tools/zelmo/failure_text.h"
#include "tools/zelmo/grid_printer.h"

struct RowsetColumn {
    DBORDINAL ordinal = 0;
    std::string name;  // UTF-8; empty for a column without a name
    DBTYPE type = DBTYPE_EMPTY;
    DBLENGTH columnSize = 0;
};

class RowsetReader {
  public:
    // Takes IRowset, IAccessor and IColumnsInfo from the rowset and reads its columns (the
    // bookmark column left out). Failures throw ToolFailure with the given step.
    RowsetReader(IUnknown* rowset, ToolStep step);

    [[nodiscard]] const std::vector<RowsetColumn>& Columns() const { return columns; }

    // The columns of these names, in this order; throws ToolFailure (DB_E_BADCOLUMNID) naming
    // the first one the rowset lacks.
    [[nodiscard]] std::vector<RowsetColumn> ColumnsNamed(
        const std::vector<std::string>& names) const;

    // Binds the given columns (texts and timestamps as DBTYPE_WSTR, every other type as
    // DBTYPE_VARIANT) and hands visit one cell per column for each row, in row order.
    void ReadRows(const std::vector<RowsetColumn>& chosen,
                  const std::function<void(std::vector<GridCell>&&)>& visit);

  private:
    ToolStep step;
    ComRef<IRowset> rowset;
    ComRef<IAccessor> accessor;
    std::vector<RowsetColumn> columns;
};
