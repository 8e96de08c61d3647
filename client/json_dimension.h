// A dimension of a model, and the measures dimension that the client adds to every list.
#pragma once

#include <string>
#include <vector>

#include "client/json_level.h"
#include "client/json_member.h"

class JSONDimension {
  public:
    JSONDimension() = default;
    JSONDimension(int number, std::u16string id, std::u16string name, JSONMember member,
                  int memberCardinality, int dimensionOrdinal);

    int GetNumber() const { return number; }
    const std::u16string& GetId() const { return id; }
    const std::u16string& GetName() const { return name; }
    const JSONMember& GetMember() const { return member; }
    int GetMemberCardinality() const { return memberCardinality; }
    int GetDimensionOrdinal() const { return dimensionOrdinal; }

    // Empty from the service; the provider stores a dimension's levels here in its cached copy.
    std::vector<JSONLevel> levels;

  private:
    std::u16string id;
    std::u16string name;
    JSONMember member;
    int memberCardinality = 0;
    int number = 0;
    int dimensionOrdinal = 0;
};

// The dimension "Measures" (id "0") with its one member "Value".
JSONDimension MakeMeasuresDimension();
