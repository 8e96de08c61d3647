// Parsers that turn the service's JSON answers into records (internal: includes the REST
// library's JSON). Each throws on a fault that fails its whole answer.
#pragma once

#include <cpprest/json.h>

#include <string>
#include <vector>

#include "client/api_auth_token.h"
#include "client/json_dimension.h"
#include "client/json_level.h"
#include "client/json_member.h"
#include "client/json_model.h"
#include "client/rest_data.h"

// Also applies the answer's "location" to ServiceAddress.
APIAuthToken ParseAPIAuthToken(const web::json::value& answer);

std::vector<JSONLevel> ParseLevelList(const web::json::value& answer);
std::vector<JSONMember> ParseMembersResponse(const web::json::value& answer);
JSONMember ParseMdxMember(const web::json::value& answer);

// The measures dimension always comes last, whatever the answer held.
std::vector<JSONDimension> ParseDimensionList(const web::json::value& answer);
JSONDimension ParseDimension(const web::json::value& answer);

std::vector<JSONModel> ParseModelList(const web::json::value& answer);
std::vector<std::u16string> ParseModelNames(const web::json::value& answer);

void ParseDrillThroughResult(RESTData& result, const web::json::value& answer);
void ParseMemberList(const web::json::value& members, const web::json::value& parentMemberPositions,
                     std::vector<JSONMember>& list);
