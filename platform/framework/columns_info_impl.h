// IColumnsInfoImpl: column descriptions with their names in one string buffer, and column id
// lookup, for a rowset or a command, from T::GetColumnInfo.
#pragma once

#include <cstring>
#include <type_traits>
#include <vector>

#include "column_info.h"
#include "com_guard.h"
#include "com_runtime.h"
#include "rowset_properties.h"


inline bool NameLivesInDbid(const DBID& id) {
    return (id.eKind == DBKIND_NAME || id.eKind == DBKIND_GUID_NAME ||
            id.eKind == DBKIND_PGUID_NAME) &&
           id.uName.pwszName != nullptr;
}

inline size_t WideLength(LPCOLESTR text) {
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

// Copies the visible columns (ordinal 0, the bookmark, only when bookmarks are on) into task
// allocator blocks; every name, of the column and of its id, lives in the one string buffer.
inline HRESULT CopyColumnInfoOut(const ATLCOLUMNINFO* columns, DBORDINAL count, bool bookmarks,
                                 DBORDINAL* pcColumns, DBCOLUMNINFO** prgInfo,
                                 OLECHAR** ppStringsBuffer) {
    std::vector<const ATLCOLUMNINFO*> visible;
    size_t chars = 0;
    for (DBORDINAL c = 0; c < count; ++c) {
        if (columns[c].iOrdinal == 0 && !bookmarks) continue;
        visible.push_back(&columns[c]);
        if (columns[c].pwszName != nullptr) chars += WideLength(columns[c].pwszName) + 1;
        if (NameLivesInDbid(columns[c].columnid))
            chars += WideLength(columns[c].columnid.uName.pwszName) + 1;
    }
    if (visible.empty()) return S_OK;
    auto* info = static_cast<DBCOLUMNINFO*>(CoTaskMemAlloc(visible.size() * sizeof(DBCOLUMNINFO)));
    auto* strings =
        chars == 0 ? nullptr : static_cast<OLECHAR*>(CoTaskMemAlloc(chars * sizeof(OLECHAR)));
    if (info == nullptr || (chars != 0 && strings == nullptr)) {
        CoTaskMemFree(info);
        CoTaskMemFree(strings);
        return E_OUTOFMEMORY;
    }
    OLECHAR* next = strings;
    auto keep = [&next](LPOLESTR text) -> LPOLESTR {
        const size_t n = WideLength(text) + 1;
        std::memcpy(next, text, n * sizeof(OLECHAR));
        LPOLESTR copy = next;
        next += n;
        return copy;
    };
    for (size_t i = 0; i < visible.size(); ++i) {
        const ATLCOLUMNINFO& column = *visible[i];
        DBCOLUMNINFO& out = info[i];
        out.pwszName = column.pwszName != nullptr ? keep(column.pwszName) : nullptr;
        out.pTypeInfo = nullptr;
        out.iOrdinal = column.iOrdinal;
        out.dwFlags = column.dwFlags;
        out.ulColumnSize = column.ulColumnSize;
        out.wType = column.wType;
        out.bPrecision = column.bPrecision;
        out.bScale = column.bScale;
        out.columnid = column.columnid;
        if (NameLivesInDbid(column.columnid))
            out.columnid.uName.pwszName = keep(column.columnid.uName.pwszName);
    }
    *pcColumns = visible.size();
    *prgInfo = info;
    *ppStringsBuffer = strings;
    return S_OK;
}

// S_OK when every id was found, DB_S_ERRORSOCCURRED when some were, DB_E_ERRORSOCCURRED when none.
inline HRESULT MapColumnIds(const ATLCOLUMNINFO* columns, DBORDINAL count, DBORDINAL cColumnIDs,
                            const DBID* ids, DBORDINAL* ordinals) {
    DBORDINAL missing = 0;
    for (DBORDINAL i = 0; i < cColumnIDs; ++i) {
        ordinals[i] = DB_INVALIDCOLUMN;
        for (DBORDINAL c = 0; c < count; ++c) {
            if (CompareDBIDs(ids[i], columns[c].columnid)) {
                ordinals[i] = columns[c].iOrdinal;
                break;
            }
        }
        if (ordinals[i] == DB_INVALIDCOLUMN) ++missing;
    }
    if (missing == 0) return S_OK;
    return missing == cColumnIDs ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}

template <class T>
class IColumnsInfoImpl : public IColumnsInfo {
  public:
    STDMETHOD(GetColumnInfo)
    (DBORDINAL* pcColumns, DBCOLUMNINFO** prgInfo, OLECHAR** ppStringsBuffer) override {
        return ComGuard([&]() -> HRESULT {
            if (pcColumns != nullptr) *pcColumns = 0;
            if (prgInfo != nullptr) *prgInfo = nullptr;
            if (ppStringsBuffer != nullptr) *ppStringsBuffer = nullptr;
            if (pcColumns == nullptr || prgInfo == nullptr || ppStringsBuffer == nullptr)
                return E_INVALIDARG;
            if (!HasCommand()) return DB_E_NOCOMMAND;
            T* self = static_cast<T*>(this);
            DBORDINAL count = 0;
            const ATLCOLUMNINFO* columns = T::GetColumnInfo(self, &count);
            if (columns == nullptr) count = 0;
            return CopyColumnInfoOut(columns, count, RowsetPropertyIsTrue(self, DBPROP_BOOKMARKS),
                                     pcColumns, prgInfo, ppStringsBuffer);
        });
    }

    STDMETHOD(MapColumnIDs)
    (DBORDINAL cColumnIDs, const DBID rgColumnIDs[], DBORDINAL rgColumns[]) override {
        return ComGuard([&]() -> HRESULT {
            if (cColumnIDs == 0) return S_OK;
            if (rgColumnIDs == nullptr || rgColumns == nullptr) return E_INVALIDARG;
            if (!HasCommand()) return DB_E_NOCOMMAND;
            DBORDINAL count = 0;
            const ATLCOLUMNINFO* columns = T::GetColumnInfo(static_cast<T*>(this), &count);
            if (columns == nullptr) count = 0;
            return MapColumnIds(columns, count, cColumnIDs, rgColumnIDs, rgColumns);
        });
    }

  private:
    // A command answers only once it has a text; a rowset always has its columns.
    bool HasCommand() {
        if constexpr (std::is_base_of_v<ICommand, T>) {
            return static_cast<T*>(this)->m_strCommandText.Length() != 0;
        } else {
            return true;
        }
    }
};
