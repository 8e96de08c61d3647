// Dataset reading: the axis information is freed through FreeAxisInfo, every rowset, accessor
// and cell VARIANT is released before returning or throwing.
#include "tools/zelmo/dataset_reader.h"

#include <cstring>

#include "com_runtime.h"
#include "tools/zelmo/cell_text.h"
#include "tools/zelmo/com_ref.h"
#include "tools/zelmo/rowset_reader.h"
#include "tools/zelmo/tool_failure.h"
#include "tools/zelmo/utf_text.h"

namespace {

constexpr DBORDINAL kValueOrdinal = 1;
constexpr DBCOUNTITEM kCellBatch = 4096;
constexpr const char* kCaptionSuffix = "].[MEMBER_CAPTION]";

struct AxisInfoBlock {
    IMDDataset* dataset;
    DBCOUNTITEM count = 0;
    MDAXISINFO* info = nullptr;
    ~AxisInfoBlock() {
        if (info != nullptr) {
            dataset->FreeAxisInfo(count, info);
        }
    }
};

struct CellAccessor {
    IAccessor* accessor;
    HACCESSOR handle = DB_NULL_HACCESSOR;
    ~CellAccessor() {
        if (handle != DB_NULL_HACCESSOR) {
            accessor->ReleaseAccessor(handle, nullptr);
        }
    }
};

struct CellRow {
    VARIANT value;
    DBSTATUS status;
};

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The caption column of each dimension: "[" name "].[MEMBER_CAPTION]", else the d-th caption
// column in column order.
std::vector<RowsetColumn> CaptionColumns(const std::vector<RowsetColumn>& columns,
                                         const std::vector<std::string>& dimensionNames) {
    std::vector<const RowsetColumn*> anyCaption;
    for (const RowsetColumn& column : columns) {
        if (EndsWith(column.name, kCaptionSuffix)) {
            anyCaption.push_back(&column);
        }
    }
    std::vector<RowsetColumn> chosen;
    for (size_t d = 0; d < dimensionNames.size(); ++d) {
        const std::string wanted = "[" + dimensionNames[d] + kCaptionSuffix;
        const RowsetColumn* found = nullptr;
        for (const RowsetColumn& column : columns) {
            if (column.name == wanted) {
                found = &column;
                break;
            }
        }
        if (found == nullptr && d < anyCaption.size()) {
            found = anyCaption[d];
        }
        if (found == nullptr) {
            throw ToolFailure(ToolStep::kReadAxis, DB_E_BADCOLUMNID);
        }
        chosen.push_back(*found);
    }
    return chosen;
}

AxisContent ReadAxis(IMDDataset* dataset, DBCOUNTITEM index, const MDAXISINFO& info) {
    AxisContent axis;
    axis.axisNumber = info.iAxis;
    for (DBCOUNTITEM d = 0; d < info.cDimensions; ++d) {
        axis.dimensionNames.push_back(
            info.rgpwszDimensionNames != nullptr ? ToUtf8(info.rgpwszDimensionNames[d]) : "");
    }
    // This provider numbers axis rowsets by their place in the axis information, which is the
    // axis number wherever the axes come in the standard order.
    ComRef<IUnknown> rowset;
    CheckStep(dataset->GetAxisRowset(nullptr, index, IID_IRowset, 0, nullptr, rowset.Put()),
              ToolStep::kReadAxis);
    RowsetReader reader(rowset.Get(), ToolStep::kReadAxis);
    const std::vector<RowsetColumn> chosen = CaptionColumns(reader.Columns(), axis.dimensionNames);
    reader.ReadRows(chosen, [&](std::vector<GridCell>&& cells) {
        if (axis.tuples.size() >= info.cCoordinates) {
            return;
        }
        std::vector<std::string> captions;
        captions.reserve(cells.size());
        for (GridCell& cell : cells) {
            captions.push_back(std::move(cell.text));
        }
        axis.tuples.push_back(std::move(captions));
    });
    // The axis information's count rules the cell arithmetic; missing tuples print blank.
    axis.tuples.resize(info.cCoordinates, std::vector<std::string>(info.cDimensions));
    return axis;
}

std::vector<GridCell> ReadCells(IMDDataset* dataset, DBCOUNTITEM cellCount) {
    std::vector<GridCell> cells;
    if (cellCount == 0) {
        return cells;
    }
    ComRef<IAccessor> accessor;
    CheckStep(dataset->QueryInterface(IID_IAccessor, accessor.PutVoid()), ToolStep::kReadCells);
    DBBINDING binding = {};
    binding.iOrdinal = kValueOrdinal;
    binding.obValue = offsetof(CellRow, value);
    binding.obStatus = offsetof(CellRow, status);
    binding.dwPart = DBPART_VALUE | DBPART_STATUS;
    binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
    binding.eParamIO = DBPARAMIO_NOTPARAM;
    binding.cbMaxLen = sizeof(VARIANT);
    binding.wType = DBTYPE_VARIANT;
    CellAccessor handle{accessor.Get()};
    DBBINDSTATUS bindStatus = DBBINDSTATUS_OK;
    CheckStep(accessor->CreateAccessor(DBACCESSOR_ROWDATA, 1, &binding, sizeof(CellRow),
                                       &handle.handle, &bindStatus),
              ToolStep::kReadCells);

    std::vector<CellRow> rows;
    for (DBCOUNTITEM start = 0; start < cellCount; start += kCellBatch) {
        const DBCOUNTITEM count = std::min(kCellBatch, cellCount - start);
        rows.assign(count, CellRow{});
        const HRESULT hr =
            dataset->GetCellData(handle.handle, start, start + count - 1, rows.data());
        for (CellRow& row : rows) {
            if (SUCCEEDED(hr)) {
                cells.push_back(CellFromVariant(row.value, row.status));
            }
            VariantClear(&row.value);
        }
        CheckStep(hr, ToolStep::kReadCells);
    }
    return cells;
}

}  // namespace

DatasetContent ReadDataset(IMDDataset* dataset) {
    DatasetContent content;
    AxisInfoBlock axisInfo{dataset};
    CheckStep(dataset->GetAxisInfo(&axisInfo.count, &axisInfo.info), ToolStep::kReadAxisInfo);
    for (DBCOUNTITEM i = 0; i < axisInfo.count && axisInfo.info != nullptr; ++i) {
        if (axisInfo.info[i].iAxis == MDAXIS_SLICERS) {
            continue;
        }
        content.axes.push_back(ReadAxis(dataset, i, axisInfo.info[i]));
    }
    content.cells = ReadCells(dataset, DatasetCellCount(content.axes));
    return content;
}
