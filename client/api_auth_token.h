// The result of a login: the API user and key that authorise every later request.
#pragma once

#include <string>

class APIAuthToken {
  public:
    // The token of a failed login: empty strings, not logged in.
    APIAuthToken() = default;
    APIAuthToken(std::u16string apiUser, std::u16string apiKey);

    std::u16string GetApiUser() const { return apiUser; }
    std::u16string GetApiKey() const { return apiKey; }
    int IsLoggedIn() const { return loggedIn; }
    void SetLoggedIn(int value) { loggedIn = value; }

  private:
    std::u16string apiUser;
    std::u16string apiKey;
    int loggedIn = 0;
};
