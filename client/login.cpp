// The login request and the login cache look-up.
#include "client/login.h"

#include "client/json_parsers.h"
#include "client/request_frame.h"
#include "client/token_cache.h"

pplx::task<web::json::value> LoginResponseToJson(const web::http::http_response& response) {
    return ResponseToJson(response);
}

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
        token = RunServiceRequest(
            request,
            [](const pplx::task<web::http::http_response>& sent) {
                return sent.then(LoginResponseToJson).then([](const web::json::value& answer) {
                    return ParseAPIAuthToken(answer);
                });
            },
            APIAuthToken());
        TokenCache::Instance().Insert(user, token);
    } catch (...) {
        // A request that cannot even be built is a failed login; a token that cannot be cached
        // is still the answer, and the next login asks again.
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
