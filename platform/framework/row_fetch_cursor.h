// The next fetch position of IRowset::GetNextRows: a cursor between rows that remembers where the
// last fetch ended, in either direction.
#pragma once

#include <algorithm>
#include <cstdint>

#include "oledb.h"
#include "oledberr.h"

// The rows one GetNextRows call reads: count rows from first, going up (step 1) or down (step -1).
struct RowFetchPlan {
    HRESULT hr;
    DBCOUNTITEM first;
    int step;
    DBCOUNTITEM count;
};

// Position p lies between row p - 1 and row p (0..rowCount). A forward fetch reads rows p + offset
// onwards, a backward fetch rows p + offset - 1 downwards, so reversing direction with offset 0
// reads the last row of the previous fetch again, as published.
class RowFetchCursor {
  public:
    DBCOUNTITEM Position() const { return m_position; }
    bool AtStart() const { return m_reset; }
    void Restart() {
        m_position = 0;
        m_reset = true;
    }

    // Plans a fetch of cRows (negative: backwards) after skipping offset rows, and moves the
    // cursor past the rows it plans. Direction permissions are the caller's to check.
    RowFetchPlan Fetch(DBCOUNTITEM rowCount, DBROWOFFSET offset, DBROWCOUNT cRows) {
        if (cRows == 0) return {S_OK, 0, 1, 0};
        // Right after creation or a restart a backward move starts from the end.
        const int64_t count = static_cast<int64_t>(std::min<DBCOUNTITEM>(rowCount, INT64_MAX / 4));
        auto position = static_cast<int64_t>(m_position);
        if (m_reset && (offset < 0 || cRows < 0)) position = count;
        m_reset = false;
        // Offsets far outside the rowset are refused before any arithmetic can overflow.
        if (offset > count + 2 || offset < -(count + 2)) return {DB_E_BADSTARTPOSITION, 0, 1, 0};
        const int64_t start = position + static_cast<int64_t>(offset);
        if (cRows > 0) {
            if (start < -1 || start > count) return {DB_E_BADSTARTPOSITION, 0, 1, 0};
            if (start == -1 || start == count) {
                m_position = static_cast<DBCOUNTITEM>(std::max<int64_t>(start, 0));
                return {DB_S_ENDOFROWSET, 0, 1, 0};
            }
            const auto wanted = static_cast<uint64_t>(cRows);
            const auto available = static_cast<uint64_t>(count - start);
            const uint64_t got = std::min(wanted, available);
            m_position = static_cast<DBCOUNTITEM>(start + static_cast<int64_t>(got));
            return {got < wanted ? DB_S_ENDOFROWSET : S_OK, static_cast<DBCOUNTITEM>(start), 1,
                    static_cast<DBCOUNTITEM>(got)};
        }
        if (start < 0 || start > count + 1) return {DB_E_BADSTARTPOSITION, 0, -1, 0};
        if (start == 0 || start == count + 1) {
            m_position = static_cast<DBCOUNTITEM>(std::min(start, count));
            return {DB_S_ENDOFROWSET, 0, -1, 0};
        }
        const uint64_t wanted = cRows == INT64_MIN ? static_cast<uint64_t>(INT64_MAX) + 1
                                                   : static_cast<uint64_t>(-cRows);
        const uint64_t got = std::min(wanted, static_cast<uint64_t>(start));
        m_position = static_cast<DBCOUNTITEM>(start - static_cast<int64_t>(got));
        return {got < wanted ? DB_S_ENDOFROWSET : S_OK, static_cast<DBCOUNTITEM>(start - 1), -1,
                static_cast<DBCOUNTITEM>(got)};
    }

  private:
    DBCOUNTITEM m_position = 0;
    bool m_reset = true;
};
