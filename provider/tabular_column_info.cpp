// The drill-through rowset's columns and rows.
#include "provider/tabular_column_info.h"

#include <climits>
#include <cstring>
#include <new>

#include "provider/number_text.h"

namespace {

constexpr int kMaxColumns = INT_MAX / kTabularColumnBytes;

const RESTDrillThroughTable* TableOf(const RESTData* restData) {
    return restData != nullptr ? &restData->GetDrillThroughTable() : nullptr;
}

}  // namespace

CTabularColumnInfo::CTabularColumnInfo(const RESTData* restData) : restData(restData) {
    const RESTDrillThroughTable* table = TableOf(restData);
    if (table == nullptr || table->GetNumColumns() <= 0) return;
    // A row longer than an int cannot be held.
    if (table->GetNumColumns() > kMaxColumns) throw std::bad_alloc();
    columnCount = table->GetNumColumns();
    BuildColumns();
}

void CTabularColumnInfo::BuildColumns() {
    names.reserve(static_cast<size_t>(columnCount));
    columns.reserve(static_cast<size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c) names.push_back(GetColumnName(c));
    for (int c = 0; c < columnCount; ++c) {
        const bool last = c == columnCount - 1;
        columns.push_back(MakeColumnInfo(
            names[static_cast<size_t>(c)].data(), static_cast<DBORDINAL>(c) + 1, 0, last ? 8 : 256,
            last ? DBTYPE_R8 : DBTYPE_WSTR, last ? 16 : 255, last ? 2 : 255,
            static_cast<DBBYTEOFFSET>(c) * kTabularColumnBytes, DBID{}));
    }
}

ATLCOLUMNINFO* CTabularColumnInfo::GetColumns(DBORDINAL* pcColumns) {
    if (pcColumns != nullptr) *pcColumns = columns.size();
    return columns.empty() ? nullptr : columns.data();
}

std::u16string CTabularColumnInfo::GetColumnName(int c) const {
    const RESTDrillThroughTable* table = TableOf(restData);
    if (table == nullptr || c < 0 || c >= table->GetNumColumns()) return {};
    const auto& header = table->GetHeader();
    return static_cast<size_t>(c) < header.size() ? header[static_cast<size_t>(c)]
                                                  : std::u16string();
}

int CTabularColumnInfo::GetRowCount() const {
    const RESTDrillThroughTable* table = TableOf(restData);
    return table != nullptr ? table->GetNumRows() : 0;
}

int CTabularColumnInfo::GetRowLength() const { return columnCount * kTabularColumnBytes; }

void CTabularColumnInfo::FillRow(int r, BYTE* buffer) const {
    const RESTDrillThroughTable* table = TableOf(restData);
    if (table == nullptr || buffer == nullptr || r < 0 || r >= table->GetNumRows() ||
        columnCount < 1)
        return;
    const auto& values = table->GetValues();
    const auto first = static_cast<size_t>(table->GetNumColumns()) * static_cast<size_t>(r);
    const auto n = static_cast<size_t>(columnCount);
    for (size_t c = 0; c + 1 < n; ++c) {
        if (first + c >= values.size()) return;
        const std::u16string& text = values[first + c];
        const size_t length = text.size() < kTabularTextChars ? text.size() : kTabularTextChars;
        BYTE* at = buffer + c * kTabularColumnBytes;
        std::memcpy(at, text.data(), length * sizeof(char16_t));
        const char16_t terminator = 0;
        std::memcpy(at + length * sizeof(char16_t), &terminator, sizeof(terminator));
    }
    if (first + n - 1 >= values.size()) return;
    const double value = ReadLeadingNumber(values[first + n - 1]);
    std::memcpy(buffer + (n - 1) * kTabularColumnBytes, &value, sizeof(value));
}
