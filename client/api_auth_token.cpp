// The login token record.
#include "client/api_auth_token.h"

#include <utility>

APIAuthToken::APIAuthToken(std::u16string apiUser, std::u16string apiKey)
    : apiUser(std::move(apiUser)), apiKey(std::move(apiKey)), loggedIn(1) {}
