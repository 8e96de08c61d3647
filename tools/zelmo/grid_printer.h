// Text layout of query answers: a grid with column headers and row captions, or a flat table.
#pragma once

#include <string>
#include <vector>

struct GridCell {
    enum class Kind { kEmpty, kNumber, kText };
    Kind kind = Kind::kEmpty;
    std::string text;  // UTF-8

    static GridCell Empty() { return {}; }
    static GridCell Number(std::string text) { return {Kind::kNumber, std::move(text)}; }
    static GridCell Text(std::string text) { return {Kind::kText, std::move(text)}; }
};

// One page of a dataset. Captions are UTF-8.
struct GridContent {
    // Per data column, one caption per column-axis dimension (outermost first).
    std::vector<std::vector<std::string>> columnTuples;
    // Per data row, one caption per row-axis dimension (outermost first).
    std::vector<std::vector<std::string>> rowTuples;
    // Names shown above the row captions, in the corner of the last header line.
    std::vector<std::string> rowDimensionNames;
    // Row-major, rows x columns; cells past the end print blank.
    std::vector<GridCell> cells;
};

class GridPrinter {
  public:
    // Header lines (one per column-axis dimension), a rule, then one line per row. An outer
    // caption that repeats the previous tuple's is left blank; the innermost always shows.
    // Numbers are right-aligned, texts left-aligned, empty cells blank.
    static std::string RenderGrid(const GridContent& grid);

    // The header names, a rule, then every row; columns holding a number are right-aligned.
    static std::string RenderTable(const std::vector<std::string>& header,
                                   const std::vector<std::vector<GridCell>>& rows);
};
