// Typed readers of JSON values and the member object shared by every answer that holds members.
#include "client/json_readers.h"

#include <climits>
#include <cmath>

#include "client/wide_text.h"

std::u16string JsonAsString(const web::json::value& value) {
    if (value.is_null()) {
        return {};
    }
    return Utf8ToUtf16(value.as_string());
}

int JsonAsInteger(const web::json::value& value) {
    if (value.is_null()) {
        return 0;
    }
    if (!value.is_number()) {
        throw web::json::json_exception("not a number");
    }
    const web::json::number& number = value.as_number();
    if (number.is_int32()) {
        return number.to_int32();
    }
    if (number.is_integral()) {
        throw web::json::json_exception("number out of range");
    }
    double d = number.to_double();
    if (!(d > static_cast<double>(INT_MIN) - 1.0 && d < static_cast<double>(INT_MAX) + 1.0)) {
        throw web::json::json_exception("number out of range");
    }
    return static_cast<int>(d);
}

bool JsonAsBool(const web::json::value& value) {
    if (value.is_null()) {
        return false;
    }
    return value.as_bool();
}

const web::json::value& JsonField(const web::json::value& object, const char* key) {
    static const web::json::value null;
    if (object.is_null()) {
        return null;
    }
    const web::json::object& fields = object.as_object();
    auto it = fields.find(key);
    return it == fields.end() ? null : it->second;
}

JSONMember ReadMemberObject(const web::json::value& object, int parentPosition,
                            bool readPositions) {
    // "isExpression" is not read once "isAttribute" is true.
    int isCalculated = JsonAsBool(JsonField(object, "isAttribute")) ||
                               JsonAsBool(JsonField(object, "isExpression"))
                           ? 1
                           : 0;
    JSONMember member(
        JsonAsString(JsonField(object, "id")), JsonAsString(JsonField(object, "name")),
        JsonAsString(JsonField(object, "alias")), JsonAsInteger(JsonField(object, "numChildren")),
        JsonAsInteger(JsonField(object, "numPositions")),
        JsonAsInteger(JsonField(object, "dimensionNumber")),
        JsonAsInteger(JsonField(object, "mdxMemberOrdinal")), parentPosition, isCalculated);
    if (!readPositions) {
        return member;
    }
    const web::json::value& positions = JsonField(object, "positions");
    if (!positions.is_array()) {
        return member;
    }
    for (const web::json::value& place : positions.as_array()) {
        member.AddPosition(MemberPosition(JsonAsString(JsonField(place, "mdxParentMemberId")),
                                          JsonAsString(JsonField(place, "mdxParentMemberName")),
                                          JsonAsInteger(JsonField(place, "level")),
                                          JsonAsString(JsonField(place, "levelName"))));
    }
    return member;
}

web::json::value ParseJsonText(const std::string& text) { return web::json::value::parse(text); }
