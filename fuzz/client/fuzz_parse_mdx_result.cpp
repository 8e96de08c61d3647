// Feeds bytes to ParseMdxResult: as the body itself, gzipped as the JSON text, or spliced into a
// complete ordinary or drill-through answer, so that the parser's typed reads get reached.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "client/mdx_query.h"
#include "tools/standin/gzip_text.h"

namespace {

const char* const kAnswers[] = {
    R"({"values": {"numRows": 1, "numColumns": 2, "values": ["1.5", "x"]},
        "axes": [{"type": "COLUMNS", "dimensions": [{"dimensionNumber": 1,
          "dimensionName": "D", "memberParentUniqueName": true, "memberName": false,
          "memberType": true, "parentMemberPositions": [0, 1],
          "members": [{"id": "1", "name": "A", "alias": "a", "numChildren": 2,
                       "numPositions": 1, "dimensionNumber": 1, "mdxMemberOrdinal": 3,
                       "isAttribute": false, "isExpression": true,
                       "positions": [{"mdxParentMemberId": "0", "mdxParentMemberName": "[D]",
                                      "level": 1, "levelName": "L"}]},
                      {"id": "2", "name": "B"}]}]},
          {"type": "ROWS", "dimensions": [], "crossProductTuples": [
            {"members": [{"id": "3"}], "parentMemberPositions": [0]}]}]})",
    R"({"drillThrough": true, "drillThroughResult": {"values": [["a", "1"], ["b", "2"]],
        "numRows": 2, "numColumns": 2, "header": ["X", null, "Y"]}})",
};

void Check(const std::unique_ptr<RESTData>& result) {
    if (result == nullptr || (result->GetStatus() != 0 && result->GetStatus() != 1)) {
        __builtin_trap();
    }
    // A failed answer holds nothing.
    if (result->GetStatus() == 0 &&
        (result->GetAxisCount() != 0 || !result->GetCellTable().GetValues().empty() ||
         result->IsDrillThrough() != 0)) {
        __builtin_trap();
    }
}

std::unique_ptr<RESTData> ParseText(const std::string& text) {
    std::string body = GzipText(text);
    return ParseMdxResult(std::vector<unsigned char>(body.begin(), body.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(ParseMdxResult(std::vector<unsigned char>(data, data + size)));
    if (size < 4) {
        Check(ParseText(std::string(reinterpret_cast<const char*>(data), size)));
        return 0;
    }
    std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
    switch (data[0] % 3) {
        case 0:
            Check(ParseText(rest));
            break;
        default: {
            std::string answer = kAnswers[data[0] % 2];
            size_t at = (static_cast<size_t>(data[1]) << 8 | data[2]) % answer.size();
            size_t cut = std::min<size_t>(data[3] % 8, answer.size() - at);
            answer.replace(at, cut, rest);
            Check(ParseText(answer));
            break;
        }
    }
    return 0;
}
