// Row classes of the test provider, one per kind of row array the rowset base serves: records
// with a static column map, owned row buffers, and rows built on demand with run-time columns.
#pragma once

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "atl_array.h"
#include "column_info.h"

// A schema-style record: wide texts of 2048 characters, numbers, a GUID, a timestamp.
struct TestMemberRow {
    WCHAR catalog[2048];
    WCHAR name[2048];
    ULONG level;
    LONG type;
    GUID guid;
    DBTIMESTAMP stamp;
    double value;
    char code[32];

    BEGIN_PROVIDER_COLUMN_MAP(TestMemberRow)
    PROVIDER_COLUMN_ENTRY("CATALOG_NAME", 1, catalog)
    PROVIDER_COLUMN_ENTRY("MEMBER_NAME", 2, name)
    PROVIDER_COLUMN_ENTRY("LEVEL_NUMBER", 3, level)
    PROVIDER_COLUMN_ENTRY("MEMBER_TYPE", 4, type)
    PROVIDER_COLUMN_ENTRY("LEVEL_GUID", 5, guid)
    PROVIDER_COLUMN_ENTRY("CREATED_ON", 6, stamp)
    PROVIDER_COLUMN_ENTRY("VALUE", 7, value)
    PROVIDER_COLUMN_ENTRY("CODE", 8, code)
    END_PROVIDER_COLUMN_MAP()
};

inline void CopyWide(WCHAR* target, size_t capacity, const std::u16string& text) {
    const size_t n = text.size() < capacity ? text.size() : capacity - 1;
    std::memcpy(target, text.data(), n * sizeof(WCHAR));
    target[n] = 0;
}

inline TestMemberRow MakeMemberRow(const std::u16string& name, ULONG level) {
    TestMemberRow row;
    std::memset(&row, 0, sizeof(row));
    CopyWide(row.catalog, 2048, u"DEFAULT");
    CopyWide(row.name, 2048, name);
    row.level = level;
    row.type = static_cast<LONG>(level) - 5;
    row.guid.Data1 = level;
    row.stamp.year = 2026;
    row.stamp.month = 12;
    row.stamp.day = static_cast<USHORT>(1 + level % 28);
    row.value = level * 0.5;
    std::snprintf(row.code, sizeof(row.code), "C%u", static_cast<unsigned>(level));
    return row;
}

// A row that owns its buffer; taking its address yields the buffer.
class TestTabularRowData {
  public:
    explicit TestTabularRowData(size_t length = 0) : m_buffer(length, 0) {}
    BYTE* Buffer() { return m_buffer.data(); }
    const BYTE* operator&() const { return m_buffer.data(); }
    BYTE* operator&() { return m_buffer.data(); }

  private:
    std::vector<BYTE> m_buffer;
};

// Rows built one at a time into one buffer, with columns decided at run time: TUPLE_ORDINAL,
// then per dimension a caption (WSTR 2048 bytes) and a level (I4).
class TestAxisRow {
  public:
    void Build(size_t rows, size_t dimensions) {
        m_rows = rows;
        m_names.clear();
        m_names.reserve(1 + 2 * dimensions);
        m_columns.clear();
        size_t offset = 0;
        auto add = [&](std::u16string name, DBTYPE type, DBLENGTH size) {
            m_names.push_back(std::move(name));
            m_columns.push_back(MakeColumnInfo(m_names.back().data(), m_columns.size() + 1,
                                               DBCOLUMNFLAGS_ISFIXEDLENGTH, size, type, 10, 255,
                                               offset, DBID{}));
            offset += size;
        };
        add(u"TUPLE_ORDINAL", DBTYPE_UI4, 4);
        for (size_t d = 0; d < dimensions; ++d) {
            add(u"[D" + std::u16string(1, static_cast<char16_t>(u'0' + d)) + u"].[MEMBER_CAPTION]",
                DBTYPE_WSTR, 2048);
            add(u"[D" + std::u16string(1, static_cast<char16_t>(u'0' + d)) + u"].[LEVEL_NUMBER]",
                DBTYPE_I4, 4);
        }
        m_buffer.assign(offset, 0);
    }

    size_t GetCount() const { return m_rows; }
    ATLCOLUMNINFO* GetColumnInfo(DBORDINAL* pcInfo) {
        if (pcInfo != nullptr) *pcInfo = m_columns.size();
        return m_columns.empty() ? nullptr : m_columns.data();
    }

    // Overwrites the one buffer: the caller must copy a row out before asking for the next.
    char* FetchRow(size_t index) {
        if (index >= m_rows)
            throw std::out_of_range("Index out of bounds while accessing the member tuples vector");
        ++m_fetches;
        std::memset(m_buffer.data(), 0xCD, m_buffer.size());
        const auto ordinal = static_cast<ULONG>(index);
        std::memcpy(m_buffer.data(), &ordinal, sizeof(ordinal));
        for (size_t c = 1; c + 1 < m_columns.size(); c += 2) {
            const std::u16string caption =
                u"m" + std::u16string(1, static_cast<char16_t>(u'a' + index % 26)) +
                std::u16string(1, static_cast<char16_t>(u'0' + c / 2));
            CopyWide(reinterpret_cast<WCHAR*>(m_buffer.data() + m_columns[c].cbOffset), 1024,
                     caption);
            const LONG level = static_cast<LONG>(index * 10 + c / 2);
            std::memcpy(m_buffer.data() + m_columns[c + 1].cbOffset, &level, sizeof(level));
        }
        return reinterpret_cast<char*>(m_buffer.data());
    }
    size_t Fetches() const { return m_fetches; }

  private:
    size_t m_rows = 0;
    size_t m_fetches = 0;
    std::vector<std::u16string> m_names;
    std::vector<ATLCOLUMNINFO> m_columns;
    std::vector<BYTE> m_buffer;
};
