// Rowset reading: one accessor over the chosen columns, rows fetched in batches and released.
#include "tools/zelmo/rowset_reader.h"

#include <algorithm>
#include <cstring>

#include "com_runtime.h"
#include "tools/zelmo/cell_text.h"
#include "tools/zelmo/tool_failure.h"
#include "tools/zelmo/utf_text.h"

namespace {

constexpr DBROWCOUNT kRowBatch = 64;
constexpr DBLENGTH kMaxTextChars = 32768;
constexpr DBLENGTH kTimestampChars = 29;  // "yyyy-mm-dd hh:mm:ss.fffffffff"

bool IsTextType(DBTYPE type) {
    return type == DBTYPE_WSTR || type == DBTYPE_STR || type == DBTYPE_BSTR;
}

DBBYTEOFFSET AlignUp(DBBYTEOFFSET offset) { return (offset + 7) & ~DBBYTEOFFSET{7}; }

// Frees what GetColumnInfo hands out, on every way out.
struct ColumnInfoBlock {
    DBCOLUMNINFO* info = nullptr;
    OLECHAR* strings = nullptr;
    ~ColumnInfoBlock() {
        CoTaskMemFree(info);
        CoTaskMemFree(strings);
    }
};

// Releases the fetched rows and their handle array, on every way out.
struct FetchedRows {
    IRowset* rowset;
    DBCOUNTITEM count = 0;
    HROW* handles = nullptr;
    ~FetchedRows() {
        if (count > 0 && handles != nullptr) {
            rowset->ReleaseRows(count, handles, nullptr, nullptr, nullptr);
        }
        CoTaskMemFree(handles);
    }
};

struct AccessorHandle {
    IAccessor* accessor;
    HACCESSOR handle = DB_NULL_HACCESSOR;
    ~AccessorHandle() {
        if (handle != DB_NULL_HACCESSOR) {
            accessor->ReleaseAccessor(handle, nullptr);
        }
    }
};

}  // namespace

RowsetReader::RowsetReader(IUnknown* source, ToolStep step) : step(step) {
    if (source == nullptr) {
        throw ToolFailure(step, E_POINTER);
    }
    CheckStep(source->QueryInterface(IID_IRowset, rowset.PutVoid()), step);
    CheckStep(source->QueryInterface(IID_IAccessor, accessor.PutVoid()), step);
    ComRef<IColumnsInfo> columnsInfo;
    CheckStep(source->QueryInterface(IID_IColumnsInfo, columnsInfo.PutVoid()), step);
    DBORDINAL count = 0;
    ColumnInfoBlock block;
    CheckStep(columnsInfo->GetColumnInfo(&count, &block.info, &block.strings), step);
    for (DBORDINAL i = 0; i < count && block.info != nullptr; ++i) {
        const DBCOLUMNINFO& info = block.info[i];
        if (info.iOrdinal == 0 || (info.dwFlags & DBCOLUMNFLAGS_ISBOOKMARK) != 0) {
            continue;
        }
        columns.push_back({info.iOrdinal, ToUtf8(info.pwszName), info.wType, info.ulColumnSize});
    }
}

std::vector<RowsetColumn> RowsetReader::ColumnsNamed(const std::vector<std::string>& names) const {
    std::vector<RowsetColumn> chosen;
    for (const std::string& name : names) {
        const auto found =
            std::find_if(columns.begin(), columns.end(),
                         [&](const RowsetColumn& column) { return column.name == name; });
        if (found == columns.end()) {
            throw ToolFailure(step, DB_E_BADCOLUMNID, name);
        }
        chosen.push_back(*found);
    }
    return chosen;
}

void RowsetReader::ReadRows(const std::vector<RowsetColumn>& chosen,
                            const std::function<void(std::vector<GridCell>&&)>& visit) {
    if (chosen.empty()) {
        return;
    }
    struct Slot {
        bool text;
        DBBYTEOFFSET value;
        DBBYTEOFFSET status;
    };
    std::vector<DBBINDING> bindings;
    std::vector<Slot> slots;
    DBBYTEOFFSET offset = 0;
    for (const RowsetColumn& column : chosen) {
        DBBINDING binding = {};
        binding.iOrdinal = column.ordinal;
        binding.dwPart = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS;
        binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
        binding.eParamIO = DBPARAMIO_NOTPARAM;
        if (IsTextType(column.type)) {
            const DBLENGTH chars = std::clamp<DBLENGTH>(column.columnSize, 1, kMaxTextChars);
            binding.wType = DBTYPE_WSTR;
            binding.cbMaxLen = (chars + 1) * sizeof(WCHAR);
        } else if (column.type == DBTYPE_DBTIMESTAMP) {
            // As text the provider writes "yyyy-mm-dd hh:mm:ss[.fffffffff]"; a VARIANT would
            // hold a day count.
            binding.wType = DBTYPE_WSTR;
            binding.cbMaxLen = (kTimestampChars + 1) * sizeof(WCHAR);
        } else {
            binding.wType = DBTYPE_VARIANT;
            binding.cbMaxLen = sizeof(VARIANT);
        }
        binding.obValue = offset;
        offset = AlignUp(offset + binding.cbMaxLen);
        binding.obLength = offset;
        offset += sizeof(DBLENGTH);
        binding.obStatus = offset;
        offset = AlignUp(offset + sizeof(DBSTATUS));
        bindings.push_back(binding);
        slots.push_back({binding.wType == DBTYPE_WSTR, binding.obValue, binding.obStatus});
    }
    const DBLENGTH rowSize = offset;

    AccessorHandle handle{accessor.Get()};
    std::vector<DBBINDSTATUS> bindStatus(bindings.size());
    CheckStep(accessor->CreateAccessor(DBACCESSOR_ROWDATA, bindings.size(), bindings.data(),
                                       rowSize, &handle.handle, bindStatus.data()),
              step);

    // 8-byte units keep VARIANTs and lengths aligned.
    std::vector<std::uint64_t> buffer((rowSize + 7) / 8);
    auto* row = reinterpret_cast<unsigned char*>(buffer.data());
    for (;;) {
        FetchedRows fetched{rowset.Get()};
        const HRESULT hr =
            rowset->GetNextRows(DB_NULL_HCHAPTER, 0, kRowBatch, &fetched.count, &fetched.handles);
        CheckStep(hr, step);
        for (DBCOUNTITEM i = 0; i < fetched.count; ++i) {
            std::memset(row, 0, rowSize);
            const HRESULT got = rowset->GetData(fetched.handles[i], handle.handle, row);
            std::vector<GridCell> cells;
            for (const Slot& slot : slots) {
                DBSTATUS status = DBSTATUS_S_OK;
                std::memcpy(&status, row + slot.status, sizeof status);
                if (slot.text) {
                    cells.push_back(
                        CellFromWideText(reinterpret_cast<const WCHAR*>(row + slot.value), status));
                } else {
                    auto* value = reinterpret_cast<VARIANT*>(row + slot.value);
                    cells.push_back(CellFromVariant(*value, status));
                    VariantClear(value);
                }
            }
            CheckStep(got, step);
            visit(std::move(cells));
        }
        if (hr == DB_S_ENDOFROWSET || fetched.count == 0) {
            break;
        }
    }
}
