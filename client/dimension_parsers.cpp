// The dimension list and single dimension answers.
#include "client/json_parsers.h"
#include "client/json_readers.h"

namespace {

JSONDimension ReadDimensionObject(const web::json::value& object, const char* memberKey) {
    const web::json::value& memberObject = JsonField(object, memberKey);
    JSONMember member =
        memberObject.is_null() ? JSONMember() : ReadMemberObject(memberObject, 0, false);
    int number = JsonAsInteger(JsonField(object, "number"));
    std::u16string id = JsonAsString(JsonField(object, "id"));
    std::u16string name = JsonAsString(JsonField(object, "name"));
    int memberCardinality = JsonAsInteger(JsonField(object, "memberCardinality"));
    int dimensionOrdinal = JsonAsInteger(JsonField(object, "dimensionOrdinal"));
    return JSONDimension(number, std::move(id), std::move(name), std::move(member),
                         memberCardinality, dimensionOrdinal);
}

}  // namespace

std::vector<JSONDimension> ParseDimensionList(const web::json::value& answer) {
    std::vector<JSONDimension> dimensions;
    if (answer.is_array()) {
        dimensions.reserve(answer.size() + 1);
        for (const web::json::value& dimension : answer.as_array()) {
            dimensions.push_back(ReadDimensionObject(dimension, "allMember"));
        }
    }
    dimensions.push_back(MakeMeasuresDimension());
    return dimensions;
}

JSONDimension ParseDimension(const web::json::value& answer) {
    return ReadDimensionObject(answer, "defaultMember");
}
