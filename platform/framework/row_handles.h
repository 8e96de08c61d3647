// Row handles of a rowset: CSimpleRow (one fetched row and its reference count) and the table
// that maps HROW values to them.
#pragma once

#include <memory>
#include <unordered_map>

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
// grows. Handles are looked up, never dereferenced.
template <class RowClass = CSimpleRow>
class RowHandleTable {
  public:
    static HROW HandleOf(DBCOUNTITEM rowIndex) { return static_cast<HROW>(rowIndex + 1); }

    // Adds a reference to the row's handle, creating it when the row is not held.
    HROW Hold(DBCOUNTITEM rowIndex) {
        const HROW handle = HandleOf(rowIndex);
        auto found = m_rows.find(handle);
        if (found == m_rows.end())
            found = m_rows.emplace(handle, std::make_unique<RowClass>(rowIndex)).first;
        found->second->AddRefRow();
        return handle;
    }

    RowClass* Find(HROW handle) const {
        const auto found = m_rows.find(handle);
        return found == m_rows.end() ? nullptr : found->second.get();
    }

    // Drops one reference; the handle goes when none is left. Returns the count left.
    DWORD Release(HROW handle) {
        const auto found = m_rows.find(handle);
        if (found == m_rows.end()) return 0;
        const DWORD left = found->second->ReleaseRow();
        if (left == 0) m_rows.erase(found);
        return left;
    }

    bool IsEmpty() const { return m_rows.empty(); }
    size_t GetCount() const { return m_rows.size(); }
    void Clear() { m_rows.clear(); }

  private:
    std::unordered_map<HROW, std::unique_ptr<RowClass>> m_rows;
};
