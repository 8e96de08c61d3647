// The level, member and single-member requests.
#pragma once

#include <vector>

#include "client/api_auth_token.h"
#include "client/json_level.h"
#include "client/json_member.h"

// Ids are UTF-8 text; an empty (or null) id sends nothing and gives the empty result.
std::vector<JSONLevel> GetLevels(const APIAuthToken& token, const char* modelId,
                                 const char* dimensionId);
std::vector<JSONMember> GetMembers(const APIAuthToken& token, const char* modelId,
                                   const char* dimensionId, const char* levelId);
// The default record (no places, empty strings) on failure.
JSONMember GetMdxMember(const APIAuthToken& token, const char* modelId, const char* memberId);
