// IRowsetImpl: IRowset over the rowset's row array: row handles with reference counts, the next
// fetch position in both directions, and GetData through an accessor.
#pragma once

#include <type_traits>

#include "accessor_table.h"
#include "bound_row_writer.h"
#include "com_guard.h"
#include "com_runtime.h"
#include "row_array_access.h"
#include "row_fetch_cursor.h"
#include "row_handles.h"
#include "rowset_properties.h"

// T derives from IAccessorImpl<T> and holds m_rgRowData (GetCount, and rows OpenAnyRow reads);
// its columns come from T::GetColumnInfo(T*, DBORDINAL*).
template <class T, class RowsetInterface = IRowset, class RowClass = CSimpleRow>
class IRowsetImpl : public RowsetInterface {
  public:
    STDMETHOD(AddRefRows)
    (DBCOUNTITEM cRows, const HROW rghRows[], DBREFCOUNT rgRefCounts[],
     DBROWSTATUS rgRowStatus[]) override {
        return ComGuard([&]() -> HRESULT {
            if (cRows == 0) return S_OK;
            if (rghRows == nullptr) return E_INVALIDARG;
            return ForEachRow(cRows, rghRows, rgRefCounts, rgRowStatus,
                              [](HROW, RowClass* row) -> DBREFCOUNT { return row->AddRefRow(); });
        });
    }

    STDMETHOD(GetData)(HROW hRow, HACCESSOR hAccessor, void* pData) override {
        return ComGuard([&]() -> HRESULT { return ReadRow(hRow, hAccessor, pData); });
    }

    STDMETHOD(GetNextRows)
    (HCHAPTER /*hReserved*/, DBROWOFFSET lRowsOffset, DBROWCOUNT cRows, DBCOUNTITEM* pcRowsObtained,
     HROW** prghRows) override {
        return ComGuard([&]() -> HRESULT {
            if (pcRowsObtained != nullptr) *pcRowsObtained = 0;
            if (pcRowsObtained == nullptr || prghRows == nullptr) return E_INVALIDARG;
            return FetchRows(lRowsOffset, cRows, pcRowsObtained, prghRows);
        });
    }

    STDMETHOD(ReleaseRows)
    (DBCOUNTITEM cRows, const HROW rghRows[], DBROWOPTIONS /*rgRowOptions*/[],
     DBREFCOUNT rgRefCounts[], DBROWSTATUS rgRowStatus[]) override {
        return ComGuard([&]() -> HRESULT {
            if (cRows == 0) return S_OK;
            if (rghRows == nullptr) return E_INVALIDARG;
            return ForEachRow(
                cRows, rghRows, rgRefCounts, rgRowStatus,
                [this](HROW handle, RowClass*) { return m_rowHandles.Release(handle); });
        });
    }

    STDMETHOD(RestartPosition)(HCHAPTER /*hReserved*/) override {
        return ComGuard([&]() -> HRESULT {
            if (!HoldsRowsFreely() && !m_rowHandles.IsEmpty()) return DB_E_ROWSNOTRELEASED;
            m_cursor.Restart();
            return S_OK;
        });
    }

    // The row behind a handle this rowset gave out and still holds, else null.
    RowClass* FindRow(HROW hRow) const { return m_rowHandles.Find(hRow); }
    size_t HeldRowCount() const { return m_rowHandles.GetCount(); }

  private:
    T* Self() { return static_cast<T*>(this); }
    bool HoldsRowsFreely() { return RowsetPropertyIsTrue(Self(), DBPROP_CANHOLDROWS); }

    template <class Action>
    HRESULT ForEachRow(DBCOUNTITEM cRows, const HROW* handles, DBREFCOUNT* refCounts,
                       DBROWSTATUS* statuses, Action action) {
        DBCOUNTITEM errors = 0;
        for (DBCOUNTITEM i = 0; i < cRows; ++i) {
            RowClass* row = m_rowHandles.Find(handles[i]);
            const DBREFCOUNT count = row != nullptr ? action(handles[i], row) : 0;
            if (refCounts != nullptr) refCounts[i] = count;
            if (statuses != nullptr)
                statuses[i] = row != nullptr ? DBROWSTATUS_S_OK : DBROWSTATUS_E_INVALID;
            if (row == nullptr) ++errors;
        }
        if (errors == 0) return S_OK;
        return errors == cRows ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
    }

    HRESULT FetchRows(DBROWOFFSET offset, DBROWCOUNT cRows, DBCOUNTITEM* pcRowsObtained,
                      HROW** prghRows) {
        T* self = Self();
        if (offset < 0 && !RowsetPropertyIsTrue(self, DBPROP_CANSCROLLBACKWARDS))
            return DB_E_CANTSCROLLBACKWARDS;
        if (cRows < 0 && !RowsetPropertyIsTrue(self, DBPROP_CANFETCHBACKWARDS))
            return DB_E_CANTFETCHBACKWARDS;
        if (!HoldsRowsFreely() && !m_rowHandles.IsEmpty()) return DB_E_ROWSNOTRELEASED;
        const RowFetchCursor before = m_cursor;
        const RowFetchPlan plan = m_cursor.Fetch(self->m_rgRowData.GetCount(), offset, cRows);
        if (FAILED(plan.hr) || plan.count == 0) return plan.hr;
        HROW* handles = *prghRows;
        const bool allocated = handles == nullptr;
        if (allocated) handles = static_cast<HROW*>(CoTaskMemAlloc(plan.count * sizeof(HROW)));
        if (handles == nullptr) {
            m_cursor = before;
            return E_OUTOFMEMORY;
        }
        DBCOUNTITEM held = 0;
        try {
            DBCOUNTITEM index = plan.first;
            for (; held < plan.count; ++held, index += static_cast<DBCOUNTITEM>(plan.step))
                handles[held] = m_rowHandles.Hold(index);
        } catch (...) {
            for (DBCOUNTITEM i = 0; i < held; ++i) m_rowHandles.Release(handles[i]);
            if (allocated) CoTaskMemFree(handles);
            m_cursor = before;
            throw;
        }
        *prghRows = handles;
        *pcRowsObtained = plan.count;
        return plan.hr;
    }

    HRESULT ReadRow(HROW hRow, HACCESSOR hAccessor, void* pData) {
        T* self = Self();
        const AccessorRecord* accessor = self->FindAccessor(hAccessor);
        if (accessor == nullptr) return DB_E_BADACCESSORHANDLE;
        if ((accessor->Flags() & DBACCESSOR_ROWDATA) == 0) return DB_E_BADACCESSORTYPE;
        const RowClass* row = m_rowHandles.Find(hRow);
        if (row == nullptr || row->m_iRowset >= self->m_rgRowData.GetCount())
            return DB_E_BADROWHANDLE;
        if (accessor->Bindings().empty()) return S_OK;
        if (pData == nullptr) return E_INVALIDARG;
        DBORDINAL columnCount = 0;
        const ATLCOLUMNINFO* columns = T::GetColumnInfo(self, &columnCount);
        const auto index = static_cast<size_t>(row->m_iRowset);
        const std::vector<BoundColumn>& bound = accessor->ColumnsIn(columns, columnCount);
        if constexpr (IsCompactRowArray<std::decay_t<decltype(self->m_rgRowData)>>::value) {
            const CompactRowStore& store = self->m_rgRowData.Store();
            if (columnCount <= store.GetColumnCount())
                return WriteBoundRow(accessor->Bindings(), bound, CompactRowReader(store, index),
                                     static_cast<BYTE*>(pData));
        }
        return WriteBoundRow(accessor->Bindings(), bound, OpenAnyRow(self->m_rgRowData, index),
                             static_cast<BYTE*>(pData));
    }

    RowHandleTable<RowClass> m_rowHandles;
    RowFetchCursor m_cursor;
};
