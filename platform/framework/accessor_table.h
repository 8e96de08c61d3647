// Accessors of a command or rowset: the published checks of CreateAccessor as plain functions, and
// the table of accessor handles with their bindings and reference counts.
#pragma once

#include <atomic>
#include <memory>
#include <algorithm>
#include <utility>
#include <vector>

#include "column_info.h"
#include "data_conversion.h"
#include "oledb.h"
#include "oledberr.h"
#include "row_array_access.h"

// What CreateAccessor validates against: where the accessor lives and what it may use.
struct AccessorContext {
    bool onRowset;                 // rowset accessors are checked against the columns
    const ATLCOLUMNINFO* columns;  // the rowset's columns (rowset only)
    DBORDINAL columnCount;
    bool bookmarks;  // DBPROP_BOOKMARKS: ordinal 0 is the bookmark column
};

constexpr DBACCESSORFLAGS kConsumerAccessorFlags =
    DBACCESSOR_PASSBYREF | DBACCESSOR_ROWDATA | DBACCESSOR_PARAMETERDATA | DBACCESSOR_OPTIMIZED;

// The checks of CreateAccessor that need no binding, in the order they are made. Reference
// accessors are not supported; a rowset has no IRowsetChange, so it takes no null accessor.
inline HRESULT ValidateAccessorFlags(DBACCESSORFLAGS flags, DBCOUNTITEM cBindings, bool onRowset) {
    if ((flags & ~kConsumerAccessorFlags) != 0) return DB_E_BADACCESSORFLAGS;
    if ((flags & (DBACCESSOR_ROWDATA | DBACCESSOR_PARAMETERDATA)) == 0)
        return DB_E_BADACCESSORFLAGS;
    if (onRowset && (flags & DBACCESSOR_PARAMETERDATA) != 0) return DB_E_BADACCESSORFLAGS;
    if ((flags & DBACCESSOR_PASSBYREF) != 0) return DB_E_BYREFACCESSORNOTSUPPORTED;
    if (cBindings == 0 && (onRowset || (flags & DBACCESSOR_PARAMETERDATA) != 0))
        return DB_E_NULLACCESSORNOTSUPPORTED;
    return S_OK;
}

inline const ATLCOLUMNINFO* FindColumn(const ATLCOLUMNINFO* columns, DBORDINAL count,
                                       DBORDINAL ordinal, size_t* index = nullptr) {
    if (columns == nullptr) return nullptr;
    for (DBORDINAL c = 0; c < count; ++c) {
        if (columns[c].iOrdinal == ordinal) {
            if (index != nullptr) *index = c;
            return &columns[c];
        }
    }
    return nullptr;
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

inline bool IsTextType(DBTYPE base) {
    return base == DBTYPE_WSTR || base == DBTYPE_STR || base == DBTYPE_BSTR;
}

// The status of one binding. Structure is checked first (DBBINDSTATUS_BADBINDINFO), then the
// ordinal, then the conversion; metadata is checked only for rowset accessors, as published for
// accessors made on a command. Overlapping parts of two bindings are not looked for: the
// published behaviour of such an accessor is undefined, and the provider writes only where told.
inline DBBINDSTATUS ValidateBinding(const DBBINDING& binding, DBACCESSORFLAGS flags,
                                    const AccessorContext& context) {
    constexpr DBPART kParts = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS;
    constexpr DBTYPE kModifiers = DBTYPE_BYREF | DBTYPE_ARRAY | DBTYPE_VECTOR;
    if (binding.dwPart == 0 || (binding.dwPart & ~kParts) != 0) return DBBINDSTATUS_BADBINDINFO;
    const auto base = static_cast<DBTYPE>(binding.wType & ~kModifiers);
    const auto modifiers = static_cast<DBTYPE>(binding.wType & kModifiers);
    if ((binding.wType & DBTYPE_RESERVED) != 0) return DBBINDSTATUS_BADBINDINFO;
    if (modifiers != 0 && modifiers != DBTYPE_BYREF && modifiers != DBTYPE_ARRAY &&
        modifiers != DBTYPE_VECTOR)
        return DBBINDSTATUS_BADBINDINFO;
    if (base == DBTYPE_EMPTY || base == DBTYPE_NULL) return DBBINDSTATUS_BADBINDINFO;
    // Provider-owned memory would point into rows that are rebuilt or compacted: not offered.
    if (binding.dwMemOwner != DBMEMOWNER_CLIENTOWNED) return DBBINDSTATUS_BADBINDINFO;
    if ((binding.dwFlags & ~static_cast<DWORD>(DBBINDFLAG_HTML)) != 0)
        return DBBINDSTATUS_BADBINDINFO;
    if ((binding.dwFlags & DBBINDFLAG_HTML) != 0 && !IsTextType(base))
        return DBBINDSTATUS_BADBINDINFO;
    if (binding.pTypeInfo != nullptr || binding.pBindExt != nullptr)
        return DBBINDSTATUS_BADBINDINFO;
    if (binding.pObject != nullptr && base != DBTYPE_IUNKNOWN) return DBBINDSTATUS_BADBINDINFO;
    if ((flags & DBACCESSOR_PARAMETERDATA) != 0) {
        constexpr DBPARAMIO kIo = DBPARAMIO_INPUT | DBPARAMIO_OUTPUT;
        if (binding.eParamIO == DBPARAMIO_NOTPARAM || (binding.eParamIO & ~kIo) != 0)
            return DBBINDSTATUS_BADBINDINFO;
        if (binding.iOrdinal == 0) return DBBINDSTATUS_BADORDINAL;
    }
    if (!context.onRowset) return DBBINDSTATUS_OK;
    if (binding.iOrdinal == 0 && !context.bookmarks) return DBBINDSTATUS_BADORDINAL;
    const ATLCOLUMNINFO* column =
        FindColumn(context.columns, context.columnCount, binding.iOrdinal);
    if (column == nullptr) return DBBINDSTATUS_BADORDINAL;
    if (!CanConvertType(column->wType, binding.wType)) return DBBINDSTATUS_UNSUPPORTEDCONVERSION;
    return DBBINDSTATUS_OK;
}

// How a value bound as its own type goes out: as text with a terminator, as fixed bytes, or
// not without conversion.
enum class StoredCopy : BYTE { kNone, kWideText, kNarrowText, kFixed };

inline StoredCopy StoredCopyOf(DBTYPE type) {
    switch (type) {
        case DBTYPE_WSTR:
            return StoredCopy::kWideText;
        case DBTYPE_STR:
            return StoredCopy::kNarrowText;
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
            return StoredCopy::kFixed;
        default:
            return StoredCopy::kNone;
    }
}

// Where one binding finds its column: the column (null when no column has the ordinal) and its
// index, and whether the value can go out as it is stored (same type, value part bound).
struct BoundColumn {
    const ATLCOLUMNINFO* column;
    size_t index;
    StoredCopy copy;
    DBLENGTH fixedLength;
    size_t textSpan;  // bytes a text may take in a raw row (RawTextSpan)
};

// The columns of a list of bindings, looked up once for a column array.
class BindingPlan {
  public:
    // Keyed by the column array's address and count: a rowset's columns, static or built by its
    // Execute, stay as they are while the rowset lives.
    const std::vector<BoundColumn>& For(const std::vector<DBBINDING>& bindings,
                                        const ATLCOLUMNINFO* columns, DBORDINAL count) {
        if (columns != m_columns || count != m_count || m_steps.size() != bindings.size())
            Build(bindings, columns, count);
        return m_steps;
    }

  private:
    void Build(const std::vector<DBBINDING>& bindings, const ATLCOLUMNINFO* columns,
               DBORDINAL count) {
        m_steps.clear();
        for (const DBBINDING& binding : bindings) {
            BoundColumn step{nullptr, 0, StoredCopy::kNone, 0, 0};
            step.column = ColumnOfOrdinal(columns, count, binding.iOrdinal, &step.index);
            if (step.column != nullptr) step.textSpan = RawTextSpan(columns, count, *step.column);
            if (step.column != nullptr && step.column->wType == binding.wType &&
                (binding.dwPart & DBPART_VALUE) != 0) {
                step.copy = StoredCopyOf(binding.wType);
                step.fixedLength = FixedTypeSize(binding.wType);
            }
            m_steps.push_back(step);
        }
        m_columns = columns;
        m_count = count;
    }

    std::vector<BoundColumn> m_steps;
    const ATLCOLUMNINFO* m_columns = nullptr;
    DBORDINAL m_count = 0;
};

// One accessor: its flags, its own copy of the bindings (with owned DBOBJECTs) and its count.
class AccessorRecord {
  public:
    AccessorRecord(DBACCESSORFLAGS flags, const DBBINDING* bindings, DBCOUNTITEM count,
                   DBLENGTH rowSize)
        : m_flags(flags), m_rowSize(rowSize) {
        m_bindings.assign(bindings, bindings + count);
        OwnObjects();
    }
    AccessorRecord(const AccessorRecord& other)
        : m_flags(other.m_flags),
          m_rowSize(other.m_rowSize),
          m_bindings(other.m_bindings),
          m_refCount(other.m_refCount) {
        OwnObjects();
    }
    AccessorRecord& operator=(const AccessorRecord&) = delete;

    DBACCESSORFLAGS Flags() const { return m_flags; }
    const std::vector<DBBINDING>& Bindings() const { return m_bindings; }
    DBLENGTH RowSize() const { return m_rowSize; }
    DBREFCOUNT RefCount() const { return m_refCount; }
    DBREFCOUNT AddRef() { return ++m_refCount; }
    DBREFCOUNT Release() { return m_refCount == 0 ? 0 : --m_refCount; }
    // The columns of the bindings in a column array, kept until the array changes.
    const std::vector<BoundColumn>& ColumnsIn(const ATLCOLUMNINFO* columns, DBORDINAL count) const {
        return m_plan.For(m_bindings, columns, count);
    }
    void MarkInherited() {
        m_flags |= DBACCESSOR_INHERITED;
        m_refCount = 1;
    }

  private:
    void OwnObjects() {
        m_objects.clear();
        for (DBBINDING& binding : m_bindings) {
            if (binding.pObject == nullptr) continue;
            m_objects.push_back(std::make_unique<DBOBJECT>(*binding.pObject));
            binding.pObject = m_objects.back().get();
        }
    }

    DBACCESSORFLAGS m_flags;
    DBLENGTH m_rowSize;
    std::vector<DBBINDING> m_bindings;
    std::vector<std::unique_ptr<DBOBJECT>> m_objects;
    DBREFCOUNT m_refCount = 1;
    mutable BindingPlan m_plan;
};

// Handles are numbers unique within the module, so a handle of another object, or one released,
// is simply not found; a handle is never dereferenced.
class AccessorTable {
  public:
    HACCESSOR Add(const AccessorRecord& record) {
        const HACCESSOR handle = NextHandle();
        m_records.emplace_back(handle, std::make_unique<AccessorRecord>(record));
        return handle;
    }
    AccessorRecord* Find(HACCESSOR handle) const {
        const auto found = Position(handle);
        return found == m_records.end() ? nullptr : found->second.get();
    }
    // Drops one reference; the accessor goes when none is left. Returns the count left.
    DBREFCOUNT Release(HACCESSOR handle) {
        const auto found = Position(handle);
        if (found == m_records.end()) return 0;
        const DBREFCOUNT left = found->second->Release();
        if (left == 0) m_records.erase(found);
        return left;
    }
    // Copies every accessor of another table under the same handles, marked inherited.
    void InheritFrom(const AccessorTable& other) {
        for (const auto& entry : other.m_records) {
            auto copy = std::make_unique<AccessorRecord>(*entry.second);
            copy->MarkInherited();
            const auto found = Position(entry.first);
            if (found != m_records.end())
                found->second = std::move(copy);
            else
                m_records.emplace_back(entry.first, std::move(copy));
        }
    }
    size_t GetCount() const { return m_records.size(); }

  private:
    using Entry = std::pair<HACCESSOR, std::unique_ptr<AccessorRecord>>;

    static HACCESSOR NextHandle() {
        static std::atomic<ULONG_PTR> next{0x5A000001};
        return static_cast<HACCESSOR>(next.fetch_add(1));
    }
    // An object holds a handful of accessors: a search beats hashing here.
    std::vector<Entry>::const_iterator Position(HACCESSOR handle) const {
        return std::find_if(m_records.begin(), m_records.end(),
                            [handle](const Entry& entry) { return entry.first == handle; });
    }
    std::vector<Entry>::iterator Position(HACCESSOR handle) {
        return std::find_if(m_records.begin(), m_records.end(),
                            [handle](const Entry& entry) { return entry.first == handle; });
    }

    std::vector<Entry> m_records;
};
