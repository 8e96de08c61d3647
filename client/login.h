// Logging a user in, and the process-wide cache of logins.
#pragma once

#include <string>

#include "client/api_auth_token.h"

// Answers from the login cache after the user's first successful login, whatever password is
// given; otherwise asks the service. A failed login gives a token that is not logged in and
// caches nothing.
APIAuthToken Login(const std::u16string& user, std::u16string password);

// 1 when the login cache holds the user, else 0.
int HasCachedToken(const std::u16string& user);
