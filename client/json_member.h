// A member of a dimension as the service describes it, with its places in the hierarchy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RESTAxisDimension;

// One place of a member: its parent there and the level it stands at.
class MemberPosition {
  public:
    MemberPosition() = default;
    MemberPosition(std::u16string mdxParentMemberId, std::u16string mdxParentMemberName, int level,
                   std::u16string levelName);

    const std::u16string& GetParentMemberId() const { return mdxParentMemberId; }
    const std::u16string& GetParentMemberName() const { return mdxParentMemberName; }
    int GetLevel() const { return level; }
    const std::u16string& GetLevelName() const { return levelName; }

  private:
    std::u16string mdxParentMemberId;
    std::u16string mdxParentMemberName;
    int level = 0;
    std::u16string levelName;
};

// Member types of OLE DB for OLAP.
constexpr int kMemberTypeRegular = 1;
constexpr int kMemberTypeAll = 2;

// Display-information bits of an axis member.
constexpr uint32_t kDisplayInfoChildrenMask = 0xFFFF;
constexpr uint32_t kDisplayInfoNoParentName = 0x10000;
constexpr uint32_t kDisplayInfoSameParentAsPrevious = 0x20000;

class JSONMember {
  public:
    JSONMember() = default;
    JSONMember(std::u16string id, std::u16string name, std::u16string alias, int numChildren,
               int numPositions, int dimensionNumber, int mdxMemberOrdinal, int parentPosition,
               int isCalculated);

    const std::u16string& GetId() const { return id; }
    const std::u16string& GetName() const { return name; }
    const std::u16string& GetAlias() const { return alias; }
    int GetNumChildren() const { return numChildren; }
    int GetNumPositions() const { return numPositions; }
    int GetDimensionNumber() const { return dimensionNumber; }
    int GetMdxMemberOrdinal() const { return mdxMemberOrdinal; }
    int GetParentPosition() const { return parentPosition; }
    int GetParentSameAsPrevious() const { return parentSameAsPrevious; }
    int IsCalculated() const { return isCalculated; }
    const std::vector<MemberPosition>& GetPositions() const { return positions; }

    void SetParentSameAsPrevious(int value) { parentSameAsPrevious = value; }
    void SetParentPosition(int value) { parentPosition = value; }
    void AddPosition(MemberPosition position) { positions.push_back(std::move(position)); }
    void ClearPositions() { positions.clear(); }

    // The place that parentPosition names, or null when it names none of the member's places.
    // Such a member reads as a regular member at level 0 with no parent.
    const MemberPosition* GetPositionInForce() const;

    int GetMemberType() const;
    int GetLevelNumber() const;
    std::u16string GetParentUniqueName() const;
    uint32_t GetDisplayInfo() const;
    // The caption by the dimension's member display option: 0 name, 1 alias, 2 "name (alias)".
    std::u16string GetCaption(const RESTAxisDimension& dimension) const;

  private:
    std::vector<MemberPosition> positions;
    std::u16string id;
    std::u16string name;
    std::u16string alias;
    int numChildren = 0;
    int numPositions = 0;
    int dimensionNumber = 0;
    int parentSameAsPrevious = 0;
    int mdxMemberOrdinal = 0;
    int parentPosition = 0;
    int isCalculated = 0;
};
