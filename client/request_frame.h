// The one frame in which every service request is built, sent and awaited (internal: includes
// the REST library's HTTP client).
#pragma once

#include <cpprest/http_client.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What differs between the service's operations; everything else is the frame's.
struct ServiceRequest {
    web::http::method method;
    // A fixed path ("/login", "/api/models", "/api/models/mdx"), or the base of the segments.
    std::u16string path;
    // Appended one by one without escaping, so that a segment may carry a query.
    std::vector<std::u16string> segments;
    // The pair of the Basic authorisation: user name and password, or API user and key.
    std::u16string user;
    std::u16string secret;
    // The MDX request asks for a compressed answer and sends a JSON body.
    bool acceptCompressed = false;
    std::optional<web::json::value> body;
};

extern const char16_t kUserAgent[];

// Sends the request over a client on the current ServiceAddress; the client must outlive the
// wait for the answer.
web::http::client::http_client MakeServiceClient();
web::http::http_request MakeServiceRequest(const ServiceRequest& request);

// Runs the request with its continuations and waits for the result. Every failure, from a bad
// address to a parser that throws, gives empty; every task's outcome is taken, so none can end
// the process unobserved.
template <typename Result, typename Continuations>
Result RunServiceRequest(const ServiceRequest& request, Continuations continuations, Result empty) {
    try {
        web::http::client::http_client client = MakeServiceClient();
        web::http::http_request message = MakeServiceRequest(request);
        pplx::task<web::http::http_response> sent = client.request(message);
        pplx::task<Result> done;
        try {
            done = continuations(sent);
        } catch (...) {
            // The answer's task must still be observed before it is dropped.
            try {
                sent.wait();
                sent.get();
            } catch (...) {
            }
            throw;
        }
        return done.get();
    } catch (...) {
        return empty;
    }
}

// The first continuations: the body as JSON (the HTTP status is not looked at), as text, or as
// bytes.
pplx::task<web::json::value> ResponseToJson(const web::http::http_response& response);
pplx::task<std::u16string> ResponseToText(const web::http::http_response& response);
