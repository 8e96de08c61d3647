// CDummyRowData: the dataset's row class, whose column map is the consumer's view of a cell
// (VALUE and CELL_ORDINAL); the dataset's row array stays empty.
#pragma once

#include "column_info.h"
#include "com_base.h"

struct CDummyRowData {
    VARIANT value;
    ULONG cellOrdinal;

    // VALUE is as wide as this platform's VARIANT (24 bytes; 16 on the 32-bit platform).
    BEGIN_PROVIDER_COLUMN_MAP(CDummyRowData)
    PROVIDER_COLUMN_ENTRY_EX("VALUE", 1, DBCOLUMNFLAGS_ISFIXEDLENGTH, DBTYPE_VARIANT,
                             sizeof(VARIANT), 0, 0, value)
    PROVIDER_COLUMN_ENTRY_EX("CELL_ORDINAL", 2, DBCOLUMNFLAGS_ISFIXEDLENGTH, DBTYPE_UI4,
                             sizeof(ULONG), 0, 0, cellOrdinal)
    END_PROVIDER_COLUMN_MAP()
};
