// What zelmo reads from a dataset, and its layout as one grid per page.
#pragma once

#include <string>
#include <vector>

#include "olap.h"
#include "tools/zelmo/grid_printer.h"

struct AxisContent {
    DBCOUNTITEM axisNumber = MDAXIS_COLUMNS;  // iAxis of the axis information
    std::vector<std::string> dimensionNames;
    // One entry per tuple (cCoordinates of them), one caption per dimension.
    std::vector<std::vector<std::string>> tuples;
};

struct DatasetContent {
    std::vector<AxisContent> axes;  // in the order of GetAxisInfo
    std::vector<GridCell> cells;    // by cell ordinal
};

// The number of cells of a dataset with these axes: the product of their tuple counts (1 for
// no axes).
DBCOUNTITEM DatasetCellCount(const std::vector<AxisContent>& axes);

// The columns axis (MDAXIS_COLUMNS) across, the rows axis (MDAXIS_ROWS) down, and one grid per
// tuple of any further axes, each under a line naming its page. Cell ordinals run with the
// axes ordered by axis number, the first fastest.
std::string RenderDataset(const DatasetContent& dataset);
