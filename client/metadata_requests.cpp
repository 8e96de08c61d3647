// The metadata requests: models, dimensions, levels and members.
#include <cstring>

#include "client/dimension_requests.h"
#include "client/json_parsers.h"
#include "client/member_requests.h"
#include "client/model_requests.h"
#include "client/request_frame.h"
#include "client/unique_name.h"
#include "client/wide_text.h"

namespace {

bool IsEmptyId(const char* id) { return id == nullptr || id[0] == '\0'; }

ServiceRequest ApiGet(const APIAuthToken& token, std::vector<std::u16string> segments) {
    ServiceRequest request;
    request.method = web::http::methods::GET;
    request.path = u"/api/models";
    request.segments = std::move(segments);
    request.user = token.GetApiUser();
    request.secret = token.GetApiKey();
    return request;
}

// The two continuations of a JSON request: the body as JSON, then the parser.
template <typename Result, typename Parser>
Result GetJson(const ServiceRequest& request, Parser parser, Result empty) {
    return RunServiceRequest(
        request,
        [parser](const pplx::task<web::http::http_response>& sent) {
            return sent.then(ResponseToJson).then([parser](web::json::value answer) {
                return parser(answer);
            });
        },
        std::move(empty));
}

// Building a request can throw too (memory); nothing of it leaves an operation.
template <typename Result, typename Operation>
Result Guarded(Operation operation, Result empty) {
    try {
        return operation();
    } catch (...) {
        return empty;
    }
}

}  // namespace

std::vector<JSONLevel> GetLevels(const APIAuthToken& token, const char* modelId,
                                 const char* dimensionId) {
    if (IsEmptyId(modelId) || IsEmptyId(dimensionId)) {
        return {};
    }
    return Guarded(
        [&] {
            return GetJson(ApiGet(token, {Utf8ToUtf16(modelId), u"dimensions",
                                          Utf8ToUtf16(dimensionId), u"levels"}),
                           ParseLevelList, std::vector<JSONLevel>());
        },
        std::vector<JSONLevel>());
}

std::vector<JSONMember> GetMembers(const APIAuthToken& token, const char* modelId,
                                   const char* dimensionId, const char* levelId) {
    if (IsEmptyId(modelId) || IsEmptyId(dimensionId) || IsEmptyId(levelId)) {
        return {};
    }
    return Guarded(
        [&] {
            return GetJson(
                ApiGet(token, {Utf8ToUtf16(modelId), u"dimensions", Utf8ToUtf16(dimensionId),
                               u"levels", Utf8ToUtf16(levelId), u"members"}),
                ParseMembersResponse, std::vector<JSONMember>());
        },
        std::vector<JSONMember>());
}

JSONMember GetMdxMember(const APIAuthToken& token, const char* modelId, const char* memberId) {
    if (IsEmptyId(modelId) || IsEmptyId(memberId)) {
        return JSONMember();
    }
    return Guarded(
        [&] {
            return GetJson(
                ApiGet(token, {Utf8ToUtf16(modelId), u"mdxMember", Utf8ToUtf16(memberId)}),
                ParseMdxMember, JSONMember());
        },
        JSONMember());
}

std::vector<JSONDimension> GetDimensions(const APIAuthToken& token, const char* modelId) {
    if (IsEmptyId(modelId)) {
        return {};
    }
    return Guarded(
        [&] {
            return GetJson(ApiGet(token, {Utf8ToUtf16(modelId), u"dimensions?incMembers=false"}),
                           ParseDimensionList, std::vector<JSONDimension>());
        },
        std::vector<JSONDimension>());
}

JSONDimension GetDimension(const APIAuthToken& token, const char* modelId,
                           const char* dimensionId) {
    if (IsEmptyId(modelId) || IsEmptyId(dimensionId)) {
        return JSONDimension();
    }
    if (std::strcmp(dimensionId, "0") == 0) {
        return Guarded([] { return MakeMeasuresDimension(); }, JSONDimension());
    }
    return Guarded(
        [&] {
            return GetJson(
                ApiGet(token, {Utf8ToUtf16(modelId), u"dimensions", Utf8ToUtf16(dimensionId)}),
                ParseDimension, JSONDimension());
        },
        JSONDimension());
}

std::vector<JSONModel> GetModels(const APIAuthToken& token) {
    return Guarded(
        [&] { return GetJson(ApiGet(token, {}), ParseModelList, std::vector<JSONModel>()); },
        std::vector<JSONModel>());
}

std::vector<std::u16string> GetModelDimensionNames(const APIAuthToken& token,
                                                   std::u16string modelId) {
    return Guarded(
        [&] {
            return GetJson(ApiGet(token, {std::move(modelId), u"dimensions?incMembers=false"}),
                           ParseModelNames, std::vector<std::u16string>());
        },
        std::vector<std::u16string>());
}

std::u16string GetModelValuesCsv(const APIAuthToken& token, std::u16string modelId) {
    return Guarded(
        [&] {
            return RunServiceRequest(
                ApiGet(token, {std::move(modelId), u"values", u"csv"}),
                [](const pplx::task<web::http::http_response>& sent) {
                    return sent.then(ResponseToText);
                },
                std::u16string());
        },
        std::u16string());
}

std::vector<std::u16string> GetModelDimensionNamesForCube(const APIAuthToken& token,
                                                          const char16_t* uniqueName) {
    return Guarded(
        [&] {
            std::string id = ExtractIdFromUniqueName(uniqueName);
            return id.empty() ? std::vector<std::u16string>()
                              : GetModelDimensionNames(token, Utf8ToUtf16(id));
        },
        std::vector<std::u16string>());
}

std::u16string GetModelValuesCsvForCube(const APIAuthToken& token, const char16_t* uniqueName) {
    return Guarded(
        [&] {
            std::string id = ExtractIdFromUniqueName(uniqueName);
            return id.empty() ? std::u16string() : GetModelValuesCsv(token, Utf8ToUtf16(id));
        },
        std::u16string());
}
