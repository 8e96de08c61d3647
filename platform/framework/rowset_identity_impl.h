// IRowsetIdentityImpl: whether two row handles of a rowset stand for the same row.
#pragma once

#include "com_guard.h"
#include "oledb.h"
#include "row_handles.h"

// T derives from IRowsetImpl, whose FindRow looks a handle up without dereferencing it.
template <class T, class RowClass = CSimpleRow>
class IRowsetIdentityImpl : public IRowsetIdentity {
  public:
    STDMETHOD(IsSameRow)(HROW hThisRow, HROW hThatRow) override {
        return ComGuard([&]() -> HRESULT {
            T* self = static_cast<T*>(this);
            const RowClass* thisRow = self->FindRow(hThisRow);
            const RowClass* thatRow = self->FindRow(hThatRow);
            if (thisRow == nullptr || thatRow == nullptr) return DB_E_BADROWHANDLE;
            return thisRow->m_iRowset == thatRow->m_iRowset ? S_OK : S_FALSE;
        });
    }
};
