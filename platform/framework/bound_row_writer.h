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

// The common case without conversion: a column bound as its own fixed-length type, or a text
// bound as the same kind of text with room for it and its terminator. These write exactly what
// WriteBoundValue writes for them, without its general path.
inline bool TryWriteSameType(const DBBINDING& binding, DBTYPE type, const CompactValue& value,
                             BYTE* pData, DBSTATUS* status) {
    if (binding.wType != type || (binding.dwPart & DBPART_VALUE) == 0 || value.data == nullptr)
        return false;
    DBLENGTH length = 0;
    switch (type) {
        case DBTYPE_WSTR:
        case DBTYPE_STR: {
            const size_t terminator = type == DBTYPE_WSTR ? sizeof(WCHAR) : 1;
            if (binding.cbMaxLen < value.length + terminator) return false;
            BYTE* target = pData + binding.obValue;
            std::memcpy(target, value.data, value.length);
            target[value.length] = 0;
            if (terminator == 2) target[value.length + 1] = 0;
            length = value.length;
            break;
        }
        case DBTYPE_I2:
        case DBTYPE_UI2:
        case DBTYPE_I4:
        case DBTYPE_UI4:
        case DBTYPE_I8:
        case DBTYPE_UI8:
        case DBTYPE_R4:
        case DBTYPE_R8:
        case DBTYPE_GUID:
        case DBTYPE_DBTIMESTAMP:
        case DBTYPE_I1:
        case DBTYPE_UI1:
            length = FixedTypeSize(type);
            if (value.length < length) return false;
            std::memcpy(pData + binding.obValue, value.data, static_cast<size_t>(length));
            break;
        default:
            return false;
    }
    if ((binding.dwPart & DBPART_LENGTH) != 0)
        std::memcpy(pData + binding.obLength, &length, sizeof(length));
    *status = DBSTATUS_S_OK;
    if ((binding.dwPart & DBPART_STATUS) != 0)
        std::memcpy(pData + binding.obStatus, status, sizeof(*status));
    return true;
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
            if (!TryWriteSameType(binding, column->wType, value, pData, &status)) {
                status = WriteBoundValue(binding, column->wType, value.data, value.length,
                                         value.data == nullptr ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK,
                                         pData);
            }
        }
        if (!IsSuccessStatus(status)) ++errors;
    }
    if (errors == 0) return S_OK;
    return errors == bindings.size() ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}
