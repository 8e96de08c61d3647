// The MDX answer: gzip-compressed JSON with axes, cells or a drill-through table.
#include <cstdint>
#include <new>
#include <string>

#include "client/gzip_codec.h"
#include "client/json_parsers.h"
#include "client/json_readers.h"
#include "client/mdx_query.h"
#include "client/wide_text.h"

namespace {

// Deflate cannot expand its input by more than about 1032:1, so a trailer that claims more
// than that is a lie, and the buffer it asks for is never allocated.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kBufferSlack = 1024;

std::unique_ptr<RESTData> FailedResult() {
    auto result = std::make_unique<RESTData>();
    result->SetStatus(0);
    return result;
}

bool IsTrue(const web::json::value& value) { return !value.is_null() && value.as_bool(); }

std::string TypedString(const web::json::value& object, const char* key) {
    return JsonField(object, key).as_string();
}

bool TypedBool(const web::json::value& object, const char* key) {
    return JsonField(object, key).as_bool();
}

int TypedInteger(const web::json::value& object, const char* key) {
    const web::json::value& value = JsonField(object, key);
    if (value.is_null()) {
        throw web::json::json_exception("missing number");
    }
    return JsonAsInteger(value);
}

void ParseCellTable(RESTData& result, const web::json::value& values) {
    int numRows = TypedInteger(values, "numRows");
    int numColumns = TypedInteger(values, "numColumns");
    RESTCellTable table(numRows, numColumns);
    const web::json::value& cells = JsonField(values, "values");
    if (cells.is_array()) {
        std::vector<std::u16string>& target = table.GetValues();
        target.reserve(cells.size());
        for (const web::json::value& cell : cells.as_array()) {
            target.push_back(Utf8ToUtf16(cell.as_string()));
        }
    }
    result.SetCellTable(std::move(table));
}

RESTAxis ParseAxis(const web::json::value& object) {
    RESTAxis axis(Utf8ToUtf16(TypedString(object, "type")));
    const web::json::value& dimensions = JsonField(object, "dimensions");
    if (dimensions.is_array()) {
        axis.GetDimensions().reserve(dimensions.size());
        for (const web::json::value& dimensionObject : dimensions.as_array()) {
            int number = TypedInteger(dimensionObject, "dimensionNumber");
            std::u16string name = Utf8ToUtf16(TypedString(dimensionObject, "dimensionName"));
            int parentUniqueName = TypedBool(dimensionObject, "memberParentUniqueName") ? 1 : 0;
            int memberName = TypedBool(dimensionObject, "memberName") ? 1 : 0;
            int memberType = TypedBool(dimensionObject, "memberType") ? 1 : 0;
            RESTAxisDimension dimension(number, std::move(name), parentUniqueName, memberName,
                                        memberType);
            ParseMemberList(JsonField(dimensionObject, "members"),
                            JsonField(dimensionObject, "parentMemberPositions"),
                            dimension.GetMembers());
            axis.GetDimensions().push_back(std::move(dimension));
        }
    }
    const web::json::value& tuples = JsonField(object, "crossProductTuples");
    if (tuples.is_null()) {
        PostProcessAxes(axis);
    } else if (tuples.is_array()) {
        axis.GetTuples().reserve(tuples.size());
        for (const web::json::value& tupleObject : tuples.as_array()) {
            RESTTuple tuple;
            ParseMemberList(JsonField(tupleObject, "members"),
                            JsonField(tupleObject, "parentMemberPositions"), tuple.GetMembers());
            axis.GetTuples().push_back(std::move(tuple));
        }
    } else {
        throw web::json::json_exception("crossProductTuples is not an array");
    }
    return axis;
}

void FillFromAnswer(RESTData& result, const web::json::value& answer) {
    if (IsTrue(JsonField(answer, "drillThrough"))) {
        ParseDrillThroughResult(result, answer);
        return;
    }
    const web::json::value& values = JsonField(answer, "values");
    if (!values.is_null()) {
        ParseCellTable(result, values);
    }
    const web::json::value& axes = JsonField(answer, "axes");
    if (axes.is_array()) {
        result.GetAxes().reserve(axes.size());
        for (const web::json::value& axis : axes.as_array()) {
            result.GetAxes().push_back(ParseAxis(axis));
        }
    }
}

}  // namespace

void ParseMemberList(const web::json::value& members, const web::json::value& parentMemberPositions,
                     std::vector<JSONMember>& list) {
    if (!members.is_array()) {
        return;
    }
    const web::json::array* positions =
        parentMemberPositions.is_array() ? &parentMemberPositions.as_array() : nullptr;
    list.reserve(list.size() + members.size());
    size_t index = 0;
    for (const web::json::value& member : members.as_array()) {
        int parentPosition = 0;
        if (positions != nullptr && index < positions->size()) {
            parentPosition = JsonAsInteger(positions->at(index));
        }
        list.push_back(ReadMemberObject(member, parentPosition, true));
        ++index;
    }
}

void ParseDrillThroughResult(RESTData& result, const web::json::value& answer) {
    const web::json::value& table = JsonField(answer, "drillThroughResult");
    if (table.is_null()) {
        return;
    }
    const web::json::value& rows = JsonField(table, "values");
    if (!rows.is_array()) {
        return;
    }
    RESTDrillThroughTable& target = result.GetDrillThroughTable();
    result.SetDrillThrough(1);
    target.SetNumRows(TypedInteger(table, "numRows"));
    target.SetNumColumns(TypedInteger(table, "numColumns"));
    for (const web::json::value& row : rows.as_array()) {
        if (!row.is_array()) {
            continue;
        }
        for (const web::json::value& cell : row.as_array()) {
            target.GetValues().push_back(Utf8ToUtf16(cell.as_string()));
        }
    }
    const web::json::value& header = JsonField(table, "header");
    if (header.is_null()) {
        return;
    }
    if (!header.is_array()) {
        throw web::json::json_exception("header is not an array");
    }
    for (const web::json::value& title : header.as_array()) {
        if (!title.is_null()) {
            target.GetHeader().push_back(Utf8ToUtf16(title.as_string()));
        }
    }
}

std::unique_ptr<RESTData> ParseMdxResult(std::vector<unsigned char> body) {
    try {
        if (body.size() < 4) {
            return FailedResult();
        }
        const unsigned char* trailer = body.data() + body.size() - 4;
        uint64_t declared =
            static_cast<uint64_t>(trailer[0]) | static_cast<uint64_t>(trailer[1]) << 8 |
            static_cast<uint64_t>(trailer[2]) << 16 | static_cast<uint64_t>(trailer[3]) << 24;
        if (declared + kBufferSlack > UINT32_MAX ||
            declared > static_cast<uint64_t>(body.size()) * kMaxInflateRatio) {
            return FailedResult();
        }

        std::string text;
        text.resize(static_cast<size_t>(declared));
        size_t written = text.size();
        int decoded;
        {
            GzipCodec codec;
            decoded = codec.DecompressAll(reinterpret_cast<unsigned char*>(text.data()), &written,
                                          body.data(), body.size());
        }
        // Only a whole stream is an answer: a body cut short, or a trailer that claims less than
        // the text holds, could otherwise pass a prefix of the text off as the answer.
        if (decoded != 0) {
            return FailedResult();
        }
        text.resize(written);
        std::vector<unsigned char>().swap(body);

        web::json::value answer = ParseJsonText(text);
        std::string().swap(text);
        // A null answer reads like an empty object; any other non-object fails at its first key.
        auto result = std::make_unique<RESTData>();
        FillFromAnswer(*result, answer);
        return result;
    } catch (const std::exception&) {
        return FailedResult();
    }
}
