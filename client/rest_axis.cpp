// Query result axes, parent flags and the cross product of an axis' members.
#include "client/rest_axis.h"

#include <stdexcept>
#include <utility>

RESTAxisDimension::RESTAxisDimension(int number, std::u16string dimensionName,
                                     int memberParentUniqueName, int memberName, int memberType)
    : number(number),
      dimensionName(std::move(dimensionName)),
      memberParentUniqueName(memberParentUniqueName),
      memberName(memberName),
      memberType(memberType) {}

void RESTAxis::SetMemberDisplayOption(int option) {
    memberDisplayOption = option;
    for (RESTAxisDimension& dimension : dimensions) {
        dimension.SetMemberDisplayOption(option);
    }
}

void RESTAxis::Clear() {
    dimensions.clear();
    tuples.clear();
}

void PostProcessAxes(RESTAxis& axis) {
    axis.GetTuples().clear();
    for (RESTAxisDimension& dimension : axis.GetDimensions()) {
        std::u16string previousParent = u"UNDEFINED";
        for (JSONMember& member : dimension.GetMembers()) {
            // A member without places stands at the top: its parent id is empty, as for a top
            // member whose place names no parent.
            const std::vector<MemberPosition>& positions = member.GetPositions();
            const std::u16string& parent =
                positions.empty() ? std::u16string() : positions.front().GetParentMemberId();
            if (parent == previousParent) {
                member.SetParentSameAsPrevious(1);
            } else {
                previousParent = parent;
            }
        }
    }
    BuildAxisTuples(axis, 0, {});
}

void BuildAxisTuples(RESTAxis& axis, int dimensionIndex, std::vector<JSONMember> prefix) {
    const std::vector<RESTAxisDimension>& dimensions = axis.GetDimensions();
    size_t first = dimensionIndex < 0 ? 0 : static_cast<size_t>(dimensionIndex);
    if (first > dimensions.size()) {
        first = dimensions.size();
    }
    size_t width = dimensions.size() - first;

    // An axis may always hold as many member copies as the answer listed members.
    size_t budget = kMaxCrossProductMembers;
    size_t listed = prefix.size();
    for (size_t d = first; d < dimensions.size(); ++d) {
        listed += dimensions[d].GetMembers().size();
    }
    if (listed > budget) {
        budget = listed;
    }
    size_t count = 1;
    for (size_t d = first; d < dimensions.size(); ++d) {
        size_t members = dimensions[d].GetMembers().size();
        if (members == 0) {
            return;
        }
        if (count > budget / members) {
            throw std::length_error("axis cross product too large");
        }
        count *= members;
    }
    size_t tupleWidth = prefix.size() + width;
    if (tupleWidth != 0 && count > budget / tupleWidth) {
        throw std::length_error("axis cross product too large");
    }

    // Counting through the dimensions like an odometer gives the depth-first order without
    // recursion, however many dimensions the answer lists.
    std::vector<RESTTuple>& tuples = axis.GetTuples();
    tuples.reserve(tuples.size() + count);
    std::vector<size_t> index(width, 0);
    for (size_t t = 0; t < count; ++t) {
        std::vector<JSONMember> members;
        members.reserve(tupleWidth);
        members.insert(members.end(), prefix.begin(), prefix.end());
        for (size_t d = 0; d < width; ++d) {
            members.push_back(dimensions[first + d].GetMembers()[index[d]]);
        }
        tuples.emplace_back(std::move(members));
        for (size_t d = width; d-- > 0;) {
            if (++index[d] < dimensions[first + d].GetMembers().size()) {
                break;
            }
            index[d] = 0;
        }
    }
}
