// The metadata requests: models, dimensions, levels and members.
#include <optional>
#include <string_view>

#include "client/dimension_requests.h"
#include "client/json_parsers.h"
#include "client/member_requests.h"
#include "client/model_requests.h"
#include "client/request_frame.h"
#include "client/unique_name.h"
#include "client/wide_text.h"

namespace {

// An id goes into the path as it stands, so one that could leave its segment ("/", "\\", "?",
// "#", "%", "." or "..") sends nothing, as an empty one does.
bool IsSafeId(std::u16string_view id) {
    if (id.empty() || id == u"." || id == u"..") return false;
    return id.find_first_of(u"/\\?#%") == std::u16string_view::npos;
}

// The segment of a UTF-8 id, or nothing when the id is null, empty or unsafe.
std::optional<std::u16string> IdSegment(const char* id) {
    if (id == nullptr) return std::nullopt;
    std::u16string segment = Utf8ToUtf16(id);
    if (!IsSafeId(segment)) return std::nullopt;
    return segment;
}

ServiceRequest ApiGet(const APIAuthToken& token, std::vector<std::u16string> segments) {
    ServiceRequest request;
    request.method = web::http::methods::GET;
    request.path = u"/api/models";
    request.segments = std::move(segments);
    request.user = token.GetApiUser();
    request.secret = token.GetApiKey();
    return request;
}

// A JSON request: the answer is parsed, walked into the result and freed on the calling thread,
// and the result comes back by move.
template <typename Result, typename Parser>
Result GetJson(const ServiceRequest& request, Parser parser, Result empty) {
    std::string body;
    if (!FetchServiceAnswer(request, body)) return empty;
    try {
        const web::json::value answer = ResponseToJson(std::move(body));
        return parser(answer);
    } catch (...) {
        return empty;
    }
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
    return Guarded(
        [&] {
            const auto model = IdSegment(modelId);
            const auto dimension = IdSegment(dimensionId);
            if (!model || !dimension) return std::vector<JSONLevel>();
            return GetJson(ApiGet(token, {*model, u"dimensions", *dimension, u"levels"}),
                           ParseLevelList, std::vector<JSONLevel>());
        },
        std::vector<JSONLevel>());
}

std::vector<JSONMember> GetMembers(const APIAuthToken& token, const char* modelId,
                                   const char* dimensionId, const char* levelId) {
    return Guarded(
        [&] {
            const auto model = IdSegment(modelId);
            const auto dimension = IdSegment(dimensionId);
            const auto level = IdSegment(levelId);
            if (!model || !dimension || !level) return std::vector<JSONMember>();
            return GetJson(
                ApiGet(token, {*model, u"dimensions", *dimension, u"levels", *level, u"members"}),
                ParseMembersResponse, std::vector<JSONMember>());
        },
        std::vector<JSONMember>());
}

JSONMember GetMdxMember(const APIAuthToken& token, const char* modelId, const char* memberId) {
    return Guarded(
        [&] {
            const auto model = IdSegment(modelId);
            const auto member = IdSegment(memberId);
            if (!model || !member) return JSONMember();
            return GetJson(ApiGet(token, {*model, u"mdxMember", *member}), ParseMdxMember,
                           JSONMember());
        },
        JSONMember());
}

std::vector<JSONDimension> GetDimensions(const APIAuthToken& token, const char* modelId) {
    return Guarded(
        [&] {
            const auto model = IdSegment(modelId);
            if (!model) return std::vector<JSONDimension>();
            return GetJson(ApiGet(token, {*model, u"dimensions?incMembers=false"}),
                           ParseDimensionList, std::vector<JSONDimension>());
        },
        std::vector<JSONDimension>());
}

JSONDimension GetDimension(const APIAuthToken& token, const char* modelId,
                           const char* dimensionId) {
    return Guarded(
        [&] {
            const auto model = IdSegment(modelId);
            const auto dimension = IdSegment(dimensionId);
            if (!model || !dimension) return JSONDimension();
            if (*dimension == u"0") return MakeMeasuresDimension();
            return GetJson(ApiGet(token, {*model, u"dimensions", *dimension}), ParseDimension,
                           JSONDimension());
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
            if (!IsSafeId(modelId)) return std::vector<std::u16string>();
            return GetJson(ApiGet(token, {std::move(modelId), u"dimensions?incMembers=false"}),
                           ParseModelNames, std::vector<std::u16string>());
        },
        std::vector<std::u16string>());
}

std::u16string GetModelValuesCsv(const APIAuthToken& token, std::u16string modelId) {
    return Guarded(
        [&] {
            if (!IsSafeId(modelId)) return std::u16string();
            std::string body;
            if (!FetchServiceAnswer(ApiGet(token, {std::move(modelId), u"values", u"csv"}), body))
                return std::u16string();
            return ResponseToText(body);
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
