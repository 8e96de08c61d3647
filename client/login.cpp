// The login request and the login cache look-up.
#include "client/login.h"

#include "client/json_parsers.h"
#include "client/request_frame.h"
#include "client/token_cache.h"

web::json::value LoginResponseToJson(std::string body) { return ResponseToJson(std::move(body)); }

APIAuthToken Login(const std::u16string& user, std::u16string password) {
    try {
        std::optional<APIAuthToken> cached = TokenCache::Instance().Find(user);
        if (cached && cached->IsLoggedIn()) {
            return *cached;
        }
    } catch (const std::exception&) {
        // A failed look-up only costs a request.
    }
    APIAuthToken token;
    try {
        ServiceRequest request;
        request.method = web::http::methods::POST;
        request.path = u"/login";
        request.user = user;
        request.secret = std::move(password);
        std::string body;
        if (FetchServiceAnswer(request, body))
            token = ParseAPIAuthToken(LoginResponseToJson(std::move(body)));
        TokenCache::Instance().Insert(user, token);
    } catch (...) {
        // A request that cannot be built or an answer that is no token is a failed login; a token
        // that cannot be cached is still the answer, and the next login asks again.
    }
    return token;
}

int HasCachedToken(const std::u16string& user) {
    try {
        return TokenCache::Instance().Contains(user) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
