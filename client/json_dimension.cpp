// Dimension records.
#include "client/json_dimension.h"

#include <utility>

JSONDimension::JSONDimension(int number, std::u16string id, std::u16string name, JSONMember member,
                             int memberCardinality, int dimensionOrdinal)
    : id(std::move(id)),
      name(std::move(name)),
      member(std::move(member)),
      memberCardinality(memberCardinality),
      number(number),
      dimensionOrdinal(dimensionOrdinal) {}

JSONDimension MakeMeasuresDimension() {
    JSONMember value(u"0", u"Value", u"Value", 0, 1, 0, 0, 0, 0);
    return JSONDimension(0, u"0", u"Measures", std::move(value), 1, 0);
}
