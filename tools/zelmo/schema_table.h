// The rows zelmo read from a schema rowset, and finding the row that a name the user typed
// stands for.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "tools/zelmo/grid_printer.h"

struct SchemaTable {
    std::vector<std::string> columns;  // names, in the order of each row's cells
    std::vector<std::vector<GridCell>> rows;

    // The named column's place; throws std::out_of_range for a column that was not read.
    [[nodiscard]] size_t ColumnIndex(const std::string& name) const;
    // The text of a row's cell in the named column.
    [[nodiscard]] const std::string& Text(size_t row, const std::string& column) const;
    // Every row with all its columns, as GridPrinter lays out a table.
    [[nodiscard]] std::string Render() const;
};

// What a name may stand for: "hierarchy", the scope in words (" in cube 'Planning'"), the
// columns whose text it may equal (the first is the unique name) and the column whose texts an
// error lists.
struct NameLookup {
    std::string kind;
    std::string scope;
    std::vector<std::string> columns;
    std::string listColumn;
};

// A name that stands for no row, or for several; the text is one line for the user.
class NameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The one row whose text in one of the lookup's columns equals name exactly, else the one where
// it equals ignoring ASCII case. Throws NameError when no row, or more than one, matches.
size_t FindNamedRow(const SchemaTable& table, const NameLookup& lookup, const std::string& name);
