// Member records and the values derived from a member's place in force.
#include "client/json_member.h"

#include <utility>

#include "client/rest_axis.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool HasNonBlank(const std::u16string& text) {
    for (char16_t c : text) {
        if (!IsBlank(c)) {
            return true;
        }
    }
    return false;
}

}  // namespace

MemberPosition::MemberPosition(std::u16string mdxParentMemberId, std::u16string mdxParentMemberName,
                               int level, std::u16string levelName)
    : mdxParentMemberId(std::move(mdxParentMemberId)),
      mdxParentMemberName(std::move(mdxParentMemberName)),
      level(level),
      levelName(std::move(levelName)) {}

JSONMember::JSONMember(std::u16string id, std::u16string name, std::u16string alias,
                       int numChildren, int numPositions, int dimensionNumber, int mdxMemberOrdinal,
                       int parentPosition, int isCalculated)
    : id(std::move(id)),
      name(std::move(name)),
      alias(std::move(alias)),
      numChildren(numChildren),
      numPositions(numPositions),
      dimensionNumber(dimensionNumber),
      mdxMemberOrdinal(mdxMemberOrdinal),
      parentPosition(parentPosition),
      isCalculated(isCalculated) {}

const MemberPosition* JSONMember::GetPositionInForce() const {
    if (parentPosition < 0 || static_cast<size_t>(parentPosition) >= positions.size()) {
        return nullptr;
    }
    return &positions[static_cast<size_t>(parentPosition)];
}

int JSONMember::GetMemberType() const {
    const MemberPosition* position = GetPositionInForce();
    return position != nullptr && position->GetLevel() == 0 ? kMemberTypeAll : kMemberTypeRegular;
}

int JSONMember::GetLevelNumber() const {
    const MemberPosition* position = GetPositionInForce();
    return position != nullptr ? position->GetLevel() : 0;
}

std::u16string JSONMember::GetParentUniqueName() const {
    const MemberPosition* position = GetPositionInForce();
    return position != nullptr ? position->GetParentMemberName() : std::u16string();
}

uint32_t JSONMember::GetDisplayInfo() const {
    uint32_t info = static_cast<uint32_t>(numChildren) & kDisplayInfoChildrenMask;
    if (parentSameAsPrevious != 0) {
        info |= kDisplayInfoSameParentAsPrevious;
    }
    if (GetParentUniqueName().empty()) {
        info |= kDisplayInfoNoParentName;
    }
    return info;
}

std::u16string JSONMember::GetCaption(const RESTAxisDimension& dimension) const {
    // Attribute and expression members keep their names whatever the option.
    if (!HasNonBlank(alias) || isCalculated != 0) {
        return name;
    }
    switch (dimension.GetMemberDisplayOption()) {
        case 1:
            return alias;
        case 2:
            return HasNonBlank(name) ? name + u" (" + alias + u")" : alias;
        default:
            return name;
    }
}
