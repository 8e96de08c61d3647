// The dimension requests; every list gets the measures dimension of the client's own.
#pragma once

#include <vector>

#include "client/api_auth_token.h"
#include "client/json_dimension.h"

// Empty when the model id is empty or the request fails; else the service's dimensions and the
// measures dimension last.
std::vector<JSONDimension> GetDimensions(const APIAuthToken& token, const char* modelId);
// Dimension id "0" is the measures dimension, answered without a request; a default record on
// failure.
JSONDimension GetDimension(const APIAuthToken& token, const char* modelId, const char* dimensionId);
