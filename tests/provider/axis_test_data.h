// Query results built in memory for the unit tests of the result objects' logic.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "client/rest_data.h"

namespace results_unit {

inline JSONMember Member(std::u16string id, std::u16string name, std::u16string alias = u"",
                         int numChildren = 0, std::u16string parentName = u"", int level = 1,
                         std::u16string levelName = u"Level", int isCalculated = 0) {
    JSONMember member(std::move(id), std::move(name), std::move(alias), numChildren, 1, 1, 0, 0,
                      isCalculated);
    member.AddPosition(MemberPosition(u"P", std::move(parentName), level, std::move(levelName)));
    return member;
}

inline RESTAxisDimension Dimension(int number, std::u16string name, std::vector<JSONMember> members,
                                   int parentUniqueName = 0, int memberName = 0,
                                   int memberType = 0) {
    RESTAxisDimension dimension(number, std::move(name), parentUniqueName, memberName, memberType);
    dimension.GetMembers() = std::move(members);
    return dimension;
}

// An axis whose tuples are the cross product of its dimensions' members.
inline RESTAxis Axis(std::u16string type, std::vector<RESTAxisDimension> dimensions) {
    RESTAxis axis(std::move(type));
    axis.GetDimensions() = std::move(dimensions);
    PostProcessAxes(axis);
    return axis;
}

inline std::shared_ptr<RESTData> Result(std::vector<RESTAxis> axes, int numRows = 0,
                                        int numColumns = 0,
                                        std::vector<std::u16string> values = {}) {
    auto result = std::make_shared<RESTData>();
    result->GetAxes() = std::move(axes);
    RESTCellTable cells(numRows, numColumns);
    cells.GetValues() = std::move(values);
    result->SetCellTable(std::move(cells));
    return result;
}

}  // namespace results_unit
