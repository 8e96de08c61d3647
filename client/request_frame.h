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

// Sends the request and waits on the calling thread for the whole answer. True with the body
// when the service answered with a status from 200 to 299; false for every failure, from a bad
// address to an error status, with the body left empty. The body is read out of the REST
// library's buffer once and crosses no task, so a large answer is not copied on its way.
bool FetchServiceAnswer(const ServiceRequest& request, std::string& body);
bool FetchServiceAnswer(const ServiceRequest& request, std::vector<unsigned char>& body);

// The body as JSON. The body is freed as soon as the tree stands, before the caller walks it.
// Throws web::json::json_exception when the body is no JSON.
web::json::value ResponseToJson(std::string body);
// The body as text (UTF-8 read as UTF-16).
std::u16string ResponseToText(const std::string& body);
