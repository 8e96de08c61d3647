// The MDX request: posts a statement to the service and returns its decoded answer.
#pragma once

#include <memory>
#include <vector>

#include "client/api_auth_token.h"
#include "client/rest_data.h"

// Never null: a failed request gives a result whose status is 0 and which holds nothing else.
std::unique_ptr<RESTData> ExecuteMdxQuery(const APIAuthToken& token, const char* statement);

// Decodes one gzip answer body and builds the result from its JSON. Never throws and never
// returns null; any fault gives a result with status 0.
std::unique_ptr<RESTData> ParseMdxResult(std::vector<unsigned char> body);
