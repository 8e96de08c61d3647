// Feeds bytes to the metadata road as it runs on the calling thread: the body parsed as JSON,
// then each answer's parser, with the records they give walked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "client/json_parsers.h"
#include "client/request_frame.h"

namespace {

size_t Walk(const JSONMember& member) {
    return member.GetId().size() + member.GetPositions().size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    web::json::value answer;
    try {
        answer = ResponseToJson(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
        return 0;
    }
    // Whatever a parser throws, the request turns into its empty result.
    size_t seen = 0;
    try {
        for (const JSONMember& member : ParseMembersResponse(answer)) seen += Walk(member);
    } catch (const std::exception&) {
    }
    try {
        seen += Walk(ParseMdxMember(answer));
    } catch (const std::exception&) {
    }
    try {
        seen += ParseLevelList(answer).size();
    } catch (const std::exception&) {
    }
    try {
        for (const JSONDimension& dimension : ParseDimensionList(answer))
            seen += dimension.GetName().size();
        seen += ParseDimension(answer).levels.size();
    } catch (const std::exception&) {
    }
    try {
        seen += ParseModelList(answer).size() + ParseModelNames(answer).size();
    } catch (const std::exception&) {
    }
    return seen == SIZE_MAX ? 1 : 0;
}
