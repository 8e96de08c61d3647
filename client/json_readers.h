// Null-safe typed reads of the service's JSON answers (internal: includes the REST library's JSON).
#pragma once

#include <cpprest/json.h>

#include <string>

#include "client/json_member.h"

// Each gives "", 0 or false for null (an absent key reads as null) and throws
// web::json::json_exception for a value of another type.
std::u16string JsonAsString(const web::json::value& value);
// A number that does not fit a 32-bit int throws instead of wrapping.
int JsonAsInteger(const web::json::value& value);
bool JsonAsBool(const web::json::value& value);

// The value under key, or null when the object lacks it. A null "object" has every key null;
// any other non-object throws, as the REST library's key access does.
const web::json::value& JsonField(const web::json::value& object, const char* key);

// One member object of the service; the places are read only when readPositions is set.
JSONMember ReadMemberObject(const web::json::value& object, int parentPosition, bool readPositions);

// Parses UTF-8 text; throws web::json::json_exception on any fault. The REST library refuses
// nesting deeper than 128 levels before its recursive parser could exhaust the stack.
web::json::value ParseJsonText(const std::string& text);
