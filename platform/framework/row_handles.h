// Row handles of a rowset: CSimpleRow (one fetched row and its reference count) and the table
// that maps HROW values to them.
#pragma once

#include <memory>
#include <vector>

#include "oledb.h"

class CSimpleRow {
  public:
    using KeyType = DBCOUNTITEM;

    explicit CSimpleRow(DBCOUNTITEM iRowsetCur) : m_iRowset(iRowsetCur) {}

    DWORD AddRefRow() { return ++m_dwRef; }
    DWORD ReleaseRow() { return m_dwRef == 0 ? 0 : --m_dwRef; }

    DWORD m_dwRef = 0;
    DBCOUNTITEM m_iRowset;
};

// The HROW of a row is its index plus one, so a row fetched twice has one handle whose count
// grows. Handles index a table of held rows; one that is out of range or not held is simply not
// found. Released row objects are kept for reuse, so steady fetching allocates nothing.
template <class RowClass = CSimpleRow>
class RowHandleTable {
  public:
    static HROW HandleOf(DBCOUNTITEM rowIndex) { return static_cast<HROW>(rowIndex + 1); }

    // Adds a reference to the row's handle, creating it when the row is not held.
    HROW Hold(DBCOUNTITEM rowIndex) {
        if (rowIndex >= m_slots.size()) m_slots.resize(static_cast<size_t>(rowIndex) + 1);
        std::unique_ptr<RowClass>& slot = m_slots[static_cast<size_t>(rowIndex)];
        if (!slot) {
            if (m_spares.empty()) {
                slot = std::make_unique<RowClass>(rowIndex);
            } else {
                slot = std::move(m_spares.back());
                m_spares.pop_back();
                *slot = RowClass(rowIndex);
            }
            ++m_held;
        }
        slot->AddRefRow();
        return HandleOf(rowIndex);
    }

    RowClass* Find(HROW handle) const {
        if (handle == DB_NULL_HROW || handle > m_slots.size()) return nullptr;
        return m_slots[static_cast<size_t>(handle - 1)].get();
    }

    // Drops one reference; the handle goes when none is left. Returns the count left.
    DWORD Release(HROW handle) {
        RowClass* row = Find(handle);
        if (row == nullptr) return 0;
        const DWORD left = row->ReleaseRow();
        if (left == 0) {
            m_spares.push_back(std::move(m_slots[static_cast<size_t>(handle - 1)]));
            --m_held;
        }
        return left;
    }

    bool IsEmpty() const { return m_held == 0; }
    size_t GetCount() const { return m_held; }

  private:
    std::vector<std::unique_ptr<RowClass>> m_slots;
    std::vector<std::unique_ptr<RowClass>> m_spares;
    size_t m_held = 0;
};
