// Grid and table layout: column widths by display width, two spaces between columns.
#include "tools/zelmo/grid_printer.h"

#include <algorithm>

#include "tools/zelmo/display_width.h"

namespace {

constexpr const char* kColumnGap = "  ";

struct LaidCell {
    std::string text;
    bool right = false;
};

using LaidRow = std::vector<LaidCell>;

std::string Layout(const std::vector<LaidRow>& lines, size_t headerLines) {
    size_t columnCount = 0;
    for (const LaidRow& line : lines) {
        columnCount = std::max(columnCount, line.size());
    }
    std::vector<size_t> widths(columnCount, 1);
    for (const LaidRow& line : lines) {
        for (size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], DisplayWidth(line[c].text));
        }
    }
    std::string out;
    auto emit = [&](const LaidRow& line) {
        std::string text;
        for (size_t c = 0; c < columnCount; ++c) {
            if (c > 0) {
                text += kColumnGap;
            }
            const LaidCell empty;
            const LaidCell& cell = c < line.size() ? line[c] : empty;
            const std::string pad(widths[c] - DisplayWidth(cell.text), ' ');
            text += cell.right ? pad + cell.text : cell.text + pad;
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text;
        out += '\n';
    };
    LaidRow rule;
    for (size_t width : widths) {
        rule.push_back({std::string(width, '-'), false});
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        emit(lines[i]);
        if (i + 1 == headerLines) {
            emit(rule);
        }
    }
    return out;
}

const std::string& CaptionAt(const std::vector<std::string>& tuple, size_t d) {
    static const std::string kNone;
    return d < tuple.size() ? tuple[d] : kNone;
}

// Whether tuple i shows its caption of dimension d: always for the innermost dimension, else
// only when this caption or an outer one differs from tuple i - 1.
bool ShowsCaption(const std::vector<std::vector<std::string>>& tuples, size_t i, size_t d,
                  size_t dimensions) {
    if (i == 0 || d + 1 >= dimensions) {
        return true;
    }
    for (size_t k = 0; k <= d; ++k) {
        if (CaptionAt(tuples[i], k) != CaptionAt(tuples[i - 1], k)) {
            return true;
        }
    }
    return false;
}

LaidCell LayCell(const GridCell& cell) {
    switch (cell.kind) {
        case GridCell::Kind::kNumber:
            return {cell.text, true};
        case GridCell::Kind::kText:
            return {cell.text, false};
        case GridCell::Kind::kEmpty:
            break;
    }
    return {};
}

}  // namespace

std::string GridPrinter::RenderGrid(const GridContent& grid) {
    const size_t columns = grid.columnTuples.size();
    const size_t rows = grid.rowTuples.size();
    size_t columnDims = 0;
    for (const auto& tuple : grid.columnTuples) {
        columnDims = std::max(columnDims, tuple.size());
    }
    size_t rowDims = grid.rowDimensionNames.size();
    for (const auto& tuple : grid.rowTuples) {
        rowDims = std::max(rowDims, tuple.size());
    }
    auto cellAt = [&](size_t r, size_t c) -> const GridCell* {
        const size_t index = r * columns + c;
        return index < grid.cells.size() ? &grid.cells[index] : nullptr;
    };
    std::vector<bool> numericColumn(columns, false);
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < columns; ++c) {
            const GridCell* cell = cellAt(r, c);
            if (cell != nullptr && cell->kind == GridCell::Kind::kNumber) {
                numericColumn[c] = true;
            }
        }
    }

    const size_t headerLines = std::max(columnDims, rowDims > 0 ? size_t{1} : size_t{0});
    std::vector<LaidRow> lines;
    for (size_t h = 0; h < headerLines; ++h) {
        LaidRow line(rowDims);
        if (h + 1 == headerLines) {
            for (size_t d = 0; d < rowDims; ++d) {
                line[d].text = CaptionAt(grid.rowDimensionNames, d);
            }
        }
        // With fewer column dimensions than header lines, the captions sit on the last lines.
        const size_t offset = headerLines - columnDims;
        for (size_t c = 0; c < columns; ++c) {
            LaidCell cell;
            cell.right = numericColumn[c];
            if (h >= offset) {
                const size_t d = h - offset;
                if (ShowsCaption(grid.columnTuples, c, d, columnDims)) {
                    cell.text = CaptionAt(grid.columnTuples[c], d);
                }
            }
            line.push_back(cell);
        }
        lines.push_back(std::move(line));
    }
    for (size_t r = 0; r < rows; ++r) {
        LaidRow line;
        for (size_t d = 0; d < rowDims; ++d) {
            LaidCell caption;
            if (ShowsCaption(grid.rowTuples, r, d, rowDims)) {
                caption.text = CaptionAt(grid.rowTuples[r], d);
            }
            line.push_back(caption);
        }
        for (size_t c = 0; c < columns; ++c) {
            const GridCell* cell = cellAt(r, c);
            line.push_back(cell != nullptr ? LayCell(*cell) : LaidCell());
        }
        lines.push_back(std::move(line));
    }
    return Layout(lines, headerLines);
}

std::string GridPrinter::RenderTable(const std::vector<std::string>& header,
                                     const std::vector<std::vector<GridCell>>& rows) {
    size_t columns = header.size();
    for (const auto& row : rows) {
        columns = std::max(columns, row.size());
    }
    std::vector<bool> numericColumn(columns, false);
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            numericColumn[c] = numericColumn[c] || row[c].kind == GridCell::Kind::kNumber;
        }
    }
    std::vector<LaidRow> lines;
    LaidRow headerLine;
    for (size_t c = 0; c < columns; ++c) {
        headerLine.push_back({c < header.size() ? header[c] : std::string(), numericColumn[c]});
    }
    lines.push_back(std::move(headerLine));
    for (const auto& row : rows) {
        LaidRow line;
        for (const GridCell& cell : row) {
            line.push_back(LayCell(cell));
        }
        lines.push_back(std::move(line));
    }
    return Layout(lines, 1);
}
