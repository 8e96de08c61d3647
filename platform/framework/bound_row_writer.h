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

// Writes the value as stored when that is what the conversion would write: a fixed value whole,
// a text with room for it and its terminator. False (nothing written) otherwise.
inline bool WriteStoredValue(const DBBINDING& binding, StoredCopy copy, DBLENGTH fixedLength,
                             const CompactValue& value, BYTE* pData, DBSTATUS* status) {
    if (value.data == nullptr) return false;
    BYTE* target = pData + binding.obValue;
    DBLENGTH length = value.length;
    if (copy == StoredCopy::kFixed) {
        if (value.length < fixedLength) return false;
        std::memcpy(target, value.data, static_cast<size_t>(fixedLength));
        length = fixedLength;
    } else {
        const size_t terminator = copy == StoredCopy::kWideText ? sizeof(WCHAR) : 1;
        if (copy == StoredCopy::kNone || binding.cbMaxLen < value.length + terminator) return false;
        std::memcpy(target, value.data, value.length);
        target[value.length] = 0;
        if (terminator == 2) target[value.length + 1] = 0;
    }
    if ((binding.dwPart & DBPART_LENGTH) != 0)
        std::memcpy(pData + binding.obLength, &length, sizeof(length));
    *status = DBSTATUS_S_OK;
    if ((binding.dwPart & DBPART_STATUS) != 0)
        std::memcpy(pData + binding.obStatus, status, sizeof(*status));
    return true;
}

// The common case without conversion: a column bound as its own type with the value part. These
// write exactly what WriteBoundValue writes for them, without its general path.
inline bool TryWriteSameType(const DBBINDING& binding, DBTYPE type, const CompactValue& value,
                             BYTE* pData, DBSTATUS* status) {
    if (binding.wType != type || (binding.dwPart & DBPART_VALUE) == 0) return false;
    return WriteStoredValue(binding, StoredCopyOf(type), FixedTypeSize(type), value, pData, status);
}

// Writes every binding through its looked-up column; a binding whose column is missing (an
// accessor inherited from a command that never saw the columns) gets DBSTATUS_E_BADACCESSOR.
// S_OK, DB_S_ERRORSOCCURRED when some bindings failed, DB_E_ERRORSOCCURRED when all did.
// Row is a RowView, or anything with the same Read(column, index).
template <class Row>
HRESULT WriteBoundRow(const std::vector<DBBINDING>& bindings,
                      const std::vector<BoundColumn>& columns, const Row& row, BYTE* pData) {
    size_t errors = 0;
    for (size_t i = 0; i < bindings.size(); ++i) {
        const DBBINDING& binding = bindings[i];
        const BoundColumn& bound = columns[i];
        DBSTATUS status;
        if (bound.column == nullptr) {
            status = DBSTATUS_E_BADACCESSOR;
            if ((binding.dwPart & DBPART_STATUS) != 0)
                std::memcpy(pData + binding.obStatus, &status, sizeof(status));
            ++errors;
            continue;
        }
        const CompactValue value = row.Read(*bound.column, bound.index, bound.textSpan);
        if (bound.copy != StoredCopy::kNone &&
            WriteStoredValue(binding, bound.copy, bound.fixedLength, value, pData, &status))
            continue;
        status = WriteBoundValue(binding, bound.column->wType, value.data, value.length,
                                 value.data == nullptr ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK, pData);
        if (!IsSuccessStatus(status)) ++errors;
    }
    if (errors == 0) return S_OK;
    return errors == bindings.size() ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}

// A compact row whose store is known to hold every column of the column array.
class CompactRowReader {
  public:
    CompactRowReader(const CompactRowStore& store, size_t row)
        : m_store(store), m_base(store.RowBase(row)) {}
    CompactValue Read(const ATLCOLUMNINFO& /*column*/, size_t index, size_t /*textSpan*/) const {
        return m_store.ReadIn(m_base, index);
    }

  private:
    const CompactRowStore& m_store;
    const BYTE* m_base;
};

// The same, looking the columns up for this one call.
inline HRESULT WriteBoundRow(const std::vector<DBBINDING>& bindings, const ATLCOLUMNINFO* columns,
                             DBORDINAL columnCount, const RowView& row, BYTE* pData) {
    BindingPlan plan;
    return WriteBoundRow(bindings, plan.For(bindings, columns, columnCount), row, pData);
}
