// The axis rowset's columns and rows.
#include "provider/axis_row.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "provider/axis_member_naming.h"

namespace {

constexpr BYTE kNumberPrecision = 10;
constexpr BYTE kTextPrecision = 255;
constexpr BYTE kScale = 255;

void WriteText(BYTE* at, const std::u16string& text) {
    const size_t n = text.size() < kAxisTextChars ? text.size() : kAxisTextChars;
    std::memcpy(at, text.data(), n * sizeof(char16_t));
    const char16_t terminator = 0;
    std::memcpy(at + n * sizeof(char16_t), &terminator, sizeof(terminator));
}

template <class Number>
void WriteNumber(BYTE* at, Number value) {
    static_assert(sizeof(Number) == 4, "axis numbers are 32 bits");
    std::memcpy(at, &value, sizeof(value));
}

}  // namespace

void CAxisRow::AddColumn(std::u16string name, DBTYPE type, DBLENGTH size, BYTE precision,
                         ColumnRole role) {
    columnNames.push_back(std::move(name));
    columns.push_back(MakeColumnInfo(columnNames.back().data(), columns.size() + 1,
                                     DBCOLUMNFLAGS_ISFIXEDLENGTH, size, type, precision, kScale,
                                     rowSize, DBID{}));
    roles.push_back(role);
    rowSize += size;
}

bool CAxisRow::Build(std::shared_ptr<const RESTData> source, size_t axisNumber) {
    if (source == nullptr || axisNumber >= source->GetAxisCount()) return false;
    Clear();
    result = std::move(source);
    axis = &result->GetAxis(static_cast<unsigned>(axisNumber));
    const auto& dimensions = axis->GetDimensions();
    size_t count = 1;
    for (const RESTAxisDimension& dimension : dimensions)
        count += 5 + (dimension.HasParentUniqueName() != 0) + (dimension.HasMemberName() != 0) +
                 (dimension.HasMemberType() != 0);
    // The column descriptions point into the names: no reallocation once they are taken.
    columnNames.reserve(count);
    columns.reserve(count);
    roles.reserve(count);
    AddColumn(u"TUPLE_ORDINAL", DBTYPE_UI4, 4, kNumberPrecision,
              {0, AxisColumnField::kTupleOrdinal});
    for (size_t d = 0; d < dimensions.size(); ++d) {
        const RESTAxisDimension& dimension = dimensions[d];
        AddColumn(MemberUniqueNameColumnName(dimension), DBTYPE_WSTR, kAxisTextColumnBytes,
                  kTextPrecision, {d, AxisColumnField::kMemberUniqueName});
        AddColumn(MemberCaptionColumnName(dimension), DBTYPE_WSTR, kAxisTextColumnBytes,
                  kTextPrecision, {d, AxisColumnField::kMemberCaption});
        AddColumn(LevelUniqueNameColumnName(dimension), DBTYPE_WSTR, kAxisTextColumnBytes,
                  kTextPrecision, {d, AxisColumnField::kLevelUniqueName});
        AddColumn(LevelNumberColumnName(dimension), DBTYPE_I4, 4, kNumberPrecision,
                  {d, AxisColumnField::kLevelNumber});
        AddColumn(DisplayInfoColumnName(dimension), DBTYPE_UI4, 4, kNumberPrecision,
                  {d, AxisColumnField::kDisplayInfo});
        if (dimension.HasParentUniqueName() != 0)
            AddColumn(ParentUniqueNameColumnName(dimension), DBTYPE_WSTR, kAxisTextColumnBytes,
                      kTextPrecision, {d, AxisColumnField::kParentUniqueName});
        if (dimension.HasMemberName() != 0)
            AddColumn(MemberNameColumnName(dimension), DBTYPE_WSTR, kAxisTextColumnBytes,
                      kTextPrecision, {d, AxisColumnField::kMemberName});
        if (dimension.HasMemberType() != 0)
            AddColumn(MemberTypeColumnName(dimension), DBTYPE_I4, 4, kNumberPrecision,
                      {d, AxisColumnField::kMemberType});
    }
    rowBuffer.assign(rowSize, 0);
    return true;
}

void CAxisRow::Clear() {
    columns.clear();
    columnNames.clear();
    roles.clear();
    rowBuffer.clear();
    rowBuffer.shrink_to_fit();
    rowSize = 0;
    axis = nullptr;
    result.reset();
}

size_t CAxisRow::GetCount() const { return axis != nullptr ? axis->GetTuples().size() : 0; }

ATLCOLUMNINFO* CAxisRow::GetColumnInfo(DBORDINAL* pcInfo) {
    if (pcInfo != nullptr) *pcInfo = columns.size();
    return columns.empty() ? nullptr : columns.data();
}

char* CAxisRow::FetchRow(size_t index) { return FillAxisRow(*this, index); }

char* FillAxisRow(CAxisRow& rowArray, size_t index) {
    if (rowArray.axis == nullptr || index >= rowArray.axis->GetTuples().size())
        throw std::out_of_range("Index out of bounds while accessing the member tuples vector");
    // A tuple that lists fewer members than the axis has dimensions shows empty ones.
    static const JSONMember kNoMember;
    BYTE* row = rowArray.rowBuffer.data();
    const auto& members = rowArray.axis->GetTuples()[index].GetMembers();
    const auto& dimensions = rowArray.axis->GetDimensions();
    WriteNumber(row, static_cast<uint32_t>(index));
    for (size_t c = 1; c < rowArray.columns.size(); ++c) {
        const CAxisRow::ColumnRole& role = rowArray.roles[c];
        const JSONMember& member =
            role.dimension < members.size() ? members[role.dimension] : kNoMember;
        const RESTAxisDimension& dimension = dimensions[role.dimension];
        BYTE* at = row + rowArray.columns[c].cbOffset;
        switch (role.field) {
            case AxisColumnField::kMemberUniqueName:
            case AxisColumnField::kMemberName:
                WriteText(at, MakeMemberUniqueName(member, dimension));
                break;
            case AxisColumnField::kMemberCaption:
                WriteText(at, member.GetCaption(dimension));
                break;
            case AxisColumnField::kLevelUniqueName:
                WriteText(at, MakeLevelUniqueName(member, dimension));
                break;
            case AxisColumnField::kLevelNumber:
                WriteNumber(at, static_cast<int32_t>(member.GetLevelNumber()));
                break;
            case AxisColumnField::kDisplayInfo:
                WriteNumber(at, member.GetDisplayInfo());
                break;
            case AxisColumnField::kParentUniqueName:
                WriteText(at, member.GetParentUniqueName());
                break;
            case AxisColumnField::kMemberType:
                WriteNumber(at, static_cast<int32_t>(member.GetMemberType()));
                break;
            case AxisColumnField::kTupleOrdinal:
                break;
        }
    }
    return reinterpret_cast<char*>(row);
}
