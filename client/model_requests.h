// The model requests.
#pragma once

#include <string>
#include <vector>

#include "client/api_auth_token.h"
#include "client/json_model.h"

// The user's models in the order of the answer, one per name; empty on failure.
std::vector<JSONModel> GetModels(const APIAuthToken& token);
std::vector<std::u16string> GetModelDimensionNames(const APIAuthToken& token,
                                                   std::u16string modelId);
std::u16string GetModelValuesCsv(const APIAuthToken& token, std::u16string modelId);
// The same two for the model whose id a unique name carries between '<' and '>'.
std::vector<std::u16string> GetModelDimensionNamesForCube(const APIAuthToken& token,
                                                          const char16_t* uniqueName);
std::u16string GetModelValuesCsvForCube(const APIAuthToken& token, const char16_t* uniqueName);
