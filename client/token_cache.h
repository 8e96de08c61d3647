// The process-wide login cache: user name -> token of that user's first successful login.
#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "client/api_auth_token.h"

class TokenCache {
  public:
    static TokenCache& Instance();

    // User names compare ordinally, so names that differ in case are separate entries.
    std::optional<APIAuthToken> Find(const std::u16string& user) const;
    bool Contains(const std::u16string& user) const;
    // Only logged-in tokens are kept; an insert for a name already present changes nothing.
    void Insert(const std::u16string& user, const APIAuthToken& token);
    size_t Size() const;
    // Lets each test of a process start with no logins.
    void ClearForTesting();

  private:
    TokenCache() = default;

    mutable std::mutex lock;
    std::map<std::u16string, APIAuthToken> entries;
};
