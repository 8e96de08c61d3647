// Dataset layout: which axis goes across, which down, which become pages, and where each cell
// sits by its ordinal.
#include "tools/zelmo/dataset_grids.h"

#include <algorithm>

namespace {

std::string AxisLabel(DBCOUNTITEM axisNumber) {
    switch (axisNumber) {
        case MDAXIS_COLUMNS:
            return "COLUMNS";
        case MDAXIS_ROWS:
            return "ROWS";
        case MDAXIS_PAGES:
            return "PAGES";
        case MDAXIS_SECTIONS:
            return "SECTIONS";
        case MDAXIS_CHAPTERS:
            return "CHAPTERS";
        default:
            return "AXIS(" + std::to_string(axisNumber) + ")";
    }
}

std::string JoinCaptions(const std::vector<std::string>& captions) {
    std::string text;
    for (size_t i = 0; i < captions.size(); ++i) {
        text += (i > 0 ? ", " : "") + captions[i];
    }
    return text;
}

}  // namespace

DBCOUNTITEM DatasetCellCount(const std::vector<AxisContent>& axes) {
    DBCOUNTITEM count = 1;
    for (const AxisContent& axis : axes) {
        count *= axis.tuples.size();
    }
    return count;
}

std::string RenderDataset(const DatasetContent& dataset) {
    // Axes by axis number; equal numbers keep their answer order.
    std::vector<const AxisContent*> ordered;
    for (const AxisContent& axis : dataset.axes) {
        ordered.push_back(&axis);
    }
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const AxisContent* a, const AxisContent* b) { return a->axisNumber < b->axisNumber; });
    std::vector<DBCOUNTITEM> strides;
    DBCOUNTITEM stride = 1;
    for (const AxisContent* axis : ordered) {
        strides.push_back(stride);
        stride *= axis->tuples.size();
    }

    const AxisContent* columnAxis = nullptr;
    const AxisContent* rowAxis = nullptr;
    DBCOUNTITEM columnStride = 0;
    DBCOUNTITEM rowStride = 0;
    std::vector<size_t> pageAxes;
    for (size_t k = 0; k < ordered.size(); ++k) {
        if (ordered[k]->axisNumber == MDAXIS_COLUMNS && columnAxis == nullptr) {
            columnAxis = ordered[k];
            columnStride = strides[k];
        } else if (ordered[k]->axisNumber == MDAXIS_ROWS && rowAxis == nullptr) {
            rowAxis = ordered[k];
            rowStride = strides[k];
        } else {
            pageAxes.push_back(k);
        }
    }

    GridContent grid;
    grid.columnTuples =
        columnAxis != nullptr ? columnAxis->tuples : std::vector<std::vector<std::string>>(1);
    grid.rowTuples =
        rowAxis != nullptr ? rowAxis->tuples : std::vector<std::vector<std::string>>(1);
    if (rowAxis != nullptr) {
        grid.rowDimensionNames = rowAxis->dimensionNames;
    }

    DBCOUNTITEM pageCount = 1;
    for (size_t k : pageAxes) {
        pageCount *= ordered[k]->tuples.size();
    }
    if (pageCount == 0) {
        return "(no cells: an axis of the answer has no tuples)\n";
    }

    std::string out;
    for (DBCOUNTITEM page = 0; page < pageCount; ++page) {
        DBCOUNTITEM base = 0;
        DBCOUNTITEM rest = page;
        std::string heading;
        for (size_t k : pageAxes) {
            const DBCOUNTITEM count = ordered[k]->tuples.size();
            const DBCOUNTITEM coordinate = rest % count;
            rest /= count;
            base += coordinate * strides[k];
            heading += AxisLabel(ordered[k]->axisNumber) + ": " +
                       JoinCaptions(ordered[k]->tuples[coordinate]) + "\n";
        }
        grid.cells.clear();
        for (size_t r = 0; r < grid.rowTuples.size(); ++r) {
            for (size_t c = 0; c < grid.columnTuples.size(); ++c) {
                const DBCOUNTITEM ordinal = base + r * rowStride + c * columnStride;
                grid.cells.push_back(ordinal < dataset.cells.size() ? dataset.cells[ordinal]
                                                                    : GridCell::Empty());
            }
        }
        if (page > 0) {
            out += '\n';
        }
        out += heading;
        out += GridPrinter::RenderGrid(grid);
    }
    return out;
}
