// A level of a dimension as the service describes it.
#pragma once

#include <utility>
#include <vector>

#include "client/json_member.h"

class JSONLevel {
  public:
    JSONLevel() = default;
    JSONLevel(int number, int memberCardinality)
        : number(number), memberCardinality(memberCardinality) {}

    int GetNumber() const { return number; }
    int GetMemberCardinality() const { return memberCardinality; }
    // Empty from the service; the provider stores a level's members here in its cached copy.
    std::vector<JSONMember> members;

  private:
    int number = 0;
    int memberCardinality = 0;
};
