// GetData's work without COM: one row's columns written into the consumer's buffer through the
// bindings of an accessor, with the call's result from the statuses.
#pragma once

#include <cstring>
#include <vector>

#include "accessor_table.h"
#include "column_info.h"
#include "data_conversion.h"
#include "row_array_access.h"

inline bool IsSuccessStatus(DBSTATUS status) {
    switch (status) {
        case DBSTATUS_S_OK:
        case DBSTATUS_S_ISNULL:
        case DBSTATUS_S_TRUNCATED:
        case DBSTATUS_S_DEFAULT:
        case DBSTATUS_S_IGNORE:
        case DBSTATUS_S_CANNOTDELETESOURCE:
        case DBSTATUS_S_ALREADYEXISTS:
        case DBSTATUS_S_ROWSETCOLUMN:
            return true;
        default:
            return false;
    }
}

// Static maps list ordinal n at index n - 1, so that place is tried before a search.
inline const ATLCOLUMNINFO* ColumnOfOrdinal(const ATLCOLUMNINFO* columns, DBORDINAL count,
                                            DBORDINAL ordinal, size_t* index) {
    if (columns != nullptr && ordinal >= 1 && ordinal <= count &&
        columns[ordinal - 1].iOrdinal == ordinal) {
        *index = static_cast<size_t>(ordinal - 1);
        return &columns[ordinal - 1];
    }
    return FindColumn(columns, count, ordinal, index);
}

// Writes every binding; a binding whose column is missing (an accessor inherited from a command
// that never saw the columns) gets DBSTATUS_E_BADACCESSOR. S_OK, DB_S_ERRORSOCCURRED when some
// bindings failed, DB_E_ERRORSOCCURRED when all did.
inline HRESULT WriteBoundRow(const std::vector<DBBINDING>& bindings, const ATLCOLUMNINFO* columns,
                             DBORDINAL columnCount, const RowView& row, BYTE* pData) {
    size_t errors = 0;
    for (const DBBINDING& binding : bindings) {
        size_t index = 0;
        const ATLCOLUMNINFO* column =
            ColumnOfOrdinal(columns, columnCount, binding.iOrdinal, &index);
        DBSTATUS status;
        if (column == nullptr) {
            status = DBSTATUS_E_BADACCESSOR;
            if ((binding.dwPart & DBPART_STATUS) != 0)
                std::memcpy(pData + binding.obStatus, &status, sizeof(status));
        } else {
            const CompactValue value = row.Read(*column, index);
            status =
                WriteBoundValue(binding, column->wType, value.data, value.length,
                                value.data == nullptr ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK, pData);
        }
        if (!IsSuccessStatus(status)) ++errors;
    }
    if (errors == 0) return S_OK;
    return errors == bindings.size() ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}
