// The stand-in of the cloud service: its REST API over real HTTP on 127.0.0.1, serving a model
// from JSON data, recording every request, and failing on demand.
//
// The data (a file for the demo, text for a test) is one JSON object; example_data.json beside
// this file is a small model in that format:
//   "users":  [{"user", "password", "apiUser", "apiKey"}]   who may log in
//   "acceptAnyUser": true      any user name and password log in, as apiUser "api-" + user and
//                              apiKey "key-" + user, and any credentials pass the API routes
//   "location": "http://..."   sent with every login answer when present
//   "basePath": "/base"        a path prefix that is taken off every request path
//   "models": [{"id", "name", "desc", "createdEpochSeconds", "updatedEpochSeconds",
//               "valuesCsv": "text of GET .../values/csv",
//               "dimensions": [{"id", "number", "name", "memberCardinality",
//                               "dimensionOrdinal", "allMember", "defaultMember",
//                               "levels": [{"id" (else the number), "number",
//                                           "memberCardinality", "members": [member]}]}]}]
//   "mdx": [{"query": "statement text", "answer": {answer object}}]
// A member is the service's member object: "id", "name", "alias", "numChildren",
// "numPositions", "dimensionNumber", "mdxMemberOrdinal", "isAttribute", "isExpression",
// "positions": [{"mdxParentMemberId", "mdxParentMemberName", "level", "levelName"}].
// An answer object is the service's MDX answer ("values", "axes", or "drillThrough" with
// "drillThroughResult"); the stand-in sends it gzip-compressed. A dimension is found by its
// number or its id, a level by its id or number, a member of "mdxMember" by its id in any level.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/standin/http_server.h"

enum class StandinFaultKind {
    kErrorStatus,      // the fault's status and body (a JSON error object, say)
    kNotJson,          // status 200 and an HTML page
    kDamagedGzip,      // the answer gzip-compressed, with its deflate data spoilt
    kTruncatedGzip,    // the gzip answer cut in half
    kTrailerTooLarge,  // the gzip answer with a size trailer above the real length
    kTrailerTooSmall,  // the gzip answer with a size trailer below the real length
    kSlowBody,         // the answer in pieces, the fault's delay before each
    kNoAnswer,         // no answer at all until the service stops
};

struct StandinFault {
    StandinFaultKind kind = StandinFaultKind::kErrorStatus;
    int status = 500;
    std::string body;
    std::chrono::milliseconds delay{0};
};

class StandinService {
  public:
    // Starts at once on an ephemeral port (or the one given) with the data; throws on data that
    // is not a JSON object or a port that cannot be had.
    explicit StandinService(const std::string& data = "{}", uint16_t port = 0);
    ~StandinService();
    StandinService(const StandinService&) = delete;
    StandinService& operator=(const StandinService&) = delete;

    static std::string ReadFile(const std::string& path);

    uint16_t GetPort() const;
    // "http://127.0.0.1:<port>"
    std::string GetAddress() const;

    void SetData(const std::string& data);
    void AddUser(const std::string& user, const std::string& password, const std::string& apiUser,
                 const std::string& apiKey);
    // The answer text is sent gzip-compressed as it stands, JSON or not.
    void SetMdxAnswer(const std::string& query, const std::string& answerText);
    // The body is sent exactly as given.
    void SetMdxBody(const std::string& query, const std::string& body);
    // Applies to requests whose path (without base path and query) is path; "" applies to all.
    void SetFault(const std::string& path, StandinFault fault);
    void ClearFaults();

    std::vector<HttpRequest> GetRequests() const;
    void ClearRequests();

  private:
    struct State;
    HttpResponse Handle(const HttpRequest& request);

    std::unique_ptr<State> state;
    std::unique_ptr<HttpServer> server;
};
