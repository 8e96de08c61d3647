// Reading a multidimensional answer through IMDDataset: axis captions and every cell.
#pragma once

#include "olap.h"
#include "tools/zelmo/dataset_grids.h"

// GetAxisInfo, one axis rowset per axis (the "[D].[MEMBER_CAPTION]" column of each dimension)
// and GetCellData over all cells with a VARIANT binding of the "VALUE" column. Slicer axes are
// left out. Failures throw ToolFailure.
DatasetContent ReadDataset(IMDDataset* dataset);
