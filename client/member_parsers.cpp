// The level list, member list and single member answers.
#include "client/json_parsers.h"
#include "client/json_readers.h"

std::vector<JSONLevel> ParseLevelList(const web::json::value& answer) {
    std::vector<JSONLevel> levels;
    if (!answer.is_array()) {
        return levels;
    }
    levels.reserve(answer.size());
    for (const web::json::value& level : answer.as_array()) {
        // Both keys are required: a level without them fails the whole list.
        const web::json::value& number = JsonField(level, "number");
        const web::json::value& cardinality = JsonField(level, "memberCardinality");
        if (number.is_null() || cardinality.is_null()) {
            throw web::json::json_exception("level without number or cardinality");
        }
        levels.emplace_back(JsonAsInteger(number), JsonAsInteger(cardinality));
    }
    return levels;
}

std::vector<JSONMember> ParseMembersResponse(const web::json::value& answer) {
    std::vector<JSONMember> members;
    if (!answer.is_array()) {
        return members;
    }
    members.reserve(answer.size());
    for (const web::json::value& member : answer.as_array()) {
        members.push_back(ReadMemberObject(member, 0, true));
    }
    return members;
}

JSONMember ParseMdxMember(const web::json::value& answer) {
    return ReadMemberObject(answer, 0, true);
}
