// The result of one MDX statement: axes, cell table, drill-through table and status.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "client/rest_axis.h"

class RESTCellTable {
  public:
    RESTCellTable() = default;
    RESTCellTable(int numRows, int numColumns) : numRows(numRows), numColumns(numColumns) {}

    // Row-major cell texts; the counts are as the answer states them and need not match.
    const std::vector<std::u16string>& GetValues() const { return values; }
    std::vector<std::u16string>& GetValues() { return values; }
    int GetNumRows() const { return numRows; }
    int GetNumColumns() const { return numColumns; }
    void Clear() { values.clear(); }

  private:
    std::vector<std::u16string> values;
    int numRows = 0;
    int numColumns = 0;
};

class RESTDrillThroughTable {
  public:
    const std::vector<std::u16string>& GetValues() const { return values; }
    std::vector<std::u16string>& GetValues() { return values; }
    const std::vector<std::u16string>& GetHeader() const { return header; }
    std::vector<std::u16string>& GetHeader() { return header; }
    int GetNumRows() const { return numRows; }
    int GetNumColumns() const { return numColumns; }
    void SetNumRows(int value) { numRows = value; }
    void SetNumColumns(int value) { numColumns = value; }

  private:
    std::vector<std::u16string> values;
    std::vector<std::u16string> header;
    int numRows = 0;
    int numColumns = 0;
};

// Result objects that borrow a result take a share of it (shared_from_this), so a later
// statement on the same command never frees what they still read.
class RESTData : public std::enable_shared_from_this<RESTData> {
  public:
    RESTData() = default;
    ~RESTData();
    // A result travels by pointer and is never copied.
    RESTData(const RESTData&) = delete;
    RESTData& operator=(const RESTData&) = delete;

    // Empties the cell values and the axes; the drill-through table stays.
    void Clear();

    int GetStatus() const { return status; }
    void SetStatus(int value) { status = value; }
    int IsDrillThrough() const { return isDrillThrough; }
    void SetDrillThrough(int value) { isDrillThrough = value; }
    int GetMemberDisplayOption() const { return memberDisplayOption; }
    // Stores the option in the result, in every axis and in every axis dimension.
    void SetMemberDisplayOption(int option);

    size_t GetAxisCount() const { return axes.size(); }
    // No bound test: callers pass an index below GetAxisCount().
    RESTAxis& GetAxis(unsigned index) { return axes[index]; }
    const RESTAxis& GetAxis(unsigned index) const { return axes[index]; }
    std::vector<RESTAxis>& GetAxes() { return axes; }
    const std::vector<RESTAxis>& GetAxes() const { return axes; }

    RESTCellTable& GetCellTable() { return cells; }
    const RESTCellTable& GetCellTable() const { return cells; }
    void SetCellTable(RESTCellTable table) { cells = std::move(table); }
    RESTDrillThroughTable& GetDrillThroughTable() { return drillThrough; }
    const RESTDrillThroughTable& GetDrillThroughTable() const { return drillThrough; }

  private:
    std::vector<RESTAxis> axes;
    RESTDrillThroughTable drillThrough;
    RESTCellTable cells;
    int status = 1;
    int isDrillThrough = 0;
    int memberDisplayOption = kDefaultMemberDisplayOption;
};
