// The axes of a query result: their dimensions, members and tuples.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "client/json_member.h"
#include "client/member_display_option.h"

class RESTAxisDimension {
  public:
    RESTAxisDimension(int number, std::u16string dimensionName, int memberParentUniqueName,
                      int memberName, int memberType);

    std::u16string GetName() const { return dimensionName; }
    int GetNumber() const { return number; }
    // Which optional columns the axis rowset shows for this dimension.
    int HasParentUniqueName() const { return memberParentUniqueName; }
    int HasMemberName() const { return memberName; }
    int HasMemberType() const { return memberType; }
    int GetMemberDisplayOption() const { return memberDisplayOption; }
    void SetMemberDisplayOption(int option) { memberDisplayOption = option; }

    const std::vector<JSONMember>& GetMembers() const { return members; }
    std::vector<JSONMember>& GetMembers() { return members; }
    void Clear() { members.clear(); }

  private:
    std::vector<JSONMember> members;
    int number;
    std::u16string dimensionName;
    int memberParentUniqueName;
    int memberName;
    int memberType;
    int memberDisplayOption = kDefaultMemberDisplayOption;
};

class RESTTuple {
  public:
    RESTTuple() = default;
    explicit RESTTuple(std::vector<JSONMember> members) : members(std::move(members)) {}

    // One member per dimension of the axis, in the order of the axis' dimensions.
    const std::vector<JSONMember>& GetMembers() const { return members; }
    std::vector<JSONMember>& GetMembers() { return members; }
    void Clear() { members.clear(); }

  private:
    std::vector<JSONMember> members;
};

class RESTAxis {
  public:
    explicit RESTAxis(std::u16string type) : type(std::move(type)) {}

    // "COLUMNS", "ROWS" or another axis name, as the answer gives it.
    std::u16string GetType() const { return type; }
    int GetMemberDisplayOption() const { return memberDisplayOption; }
    void SetMemberDisplayOption(int option);

    const std::vector<RESTAxisDimension>& GetDimensions() const { return dimensions; }
    std::vector<RESTAxisDimension>& GetDimensions() { return dimensions; }
    const std::vector<RESTTuple>& GetTuples() const { return tuples; }
    std::vector<RESTTuple>& GetTuples() { return tuples; }
    void Clear();

  private:
    std::vector<RESTAxisDimension> dimensions;
    std::vector<RESTTuple> tuples;
    std::u16string type;
    int memberDisplayOption = kDefaultMemberDisplayOption;
};

// Largest cross product, counted in member copies (tuples times dimensions), that an axis may
// expand to beyond the members its answer lists. A few bytes of answer could otherwise ask for
// more tuples than memory holds.
constexpr size_t kMaxCrossProductMembers = 4'000'000;

// Flags members whose parent repeats, then builds the axis' tuples as the cross product of its
// dimensions' members. Throws std::length_error when the product is over the limit above.
void PostProcessAxes(RESTAxis& axis);

// Appends to the axis' tuples the cross product of the members of the dimensions from
// dimensionIndex on, each tuple led by prefix; the last dimension varies fastest.
void BuildAxisTuples(RESTAxis& axis, int dimensionIndex, std::vector<JSONMember> prefix);
