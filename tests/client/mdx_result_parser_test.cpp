// ParseMdxResult: the answer format, and every damaged body giving status 0.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "client/mdx_query.h"
#include "tools/standin/gzip_text.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& body) {
    return std::vector<unsigned char>(body.begin(), body.end());
}

std::unique_ptr<RESTData> Parse(const std::string& json) {
    return ParseMdxResult(Bytes(GzipText(json)));
}

void ExpectFailed(const std::unique_ptr<RESTData>& result, const std::string& why) {
    ASSERT_NE(result, nullptr) << why;
    EXPECT_EQ(result->GetStatus(), 0) << why;
    EXPECT_EQ(result->GetAxisCount(), 0u) << why;
    EXPECT_TRUE(result->GetCellTable().GetValues().empty()) << why;
    EXPECT_EQ(result->GetCellTable().GetNumRows(), 0) << why;
    EXPECT_EQ(result->IsDrillThrough(), 0) << why;
}

// An ordinary answer that every key of the format occurs in, with the key under test spoilt.
const char kMember[] =
    R"({"id": "1", "name": "A", "alias": "a", "numChildren": 0, "numPositions": 1,
        "dimensionNumber": 1, "mdxMemberOrdinal": 0, "isAttribute": false,
        "isExpression": false, "positions": [{"mdxParentMemberId": "0",
        "mdxParentMemberName": "[D <1>].[All <0>]", "level": 1, "levelName": "L"}]})";

std::string Answer(const std::string& member, const std::string& dimensionExtra,
                   const std::string& valuesExtra) {
    return R"({"values": {"numRows": 1, "numColumns": 1, "values": ["1"])" + valuesExtra +
           R"(}, "axes": [{"type": "ROWS", "dimensions": [{"dimensionNumber": 1,
           "dimensionName": "D", "memberParentUniqueName": true, "memberName": true,
           "memberType": false, "parentMemberPositions": [0], "members": [)" +
           member + "]" + dimensionExtra + "}]}]}";
}

TEST(MdxResultParserTest, OrdinaryAnswer) {
    std::unique_ptr<RESTData> result = Parse(Answer(kMember, "", ""));
    ASSERT_EQ(result->GetStatus(), 1);
    EXPECT_EQ(result->IsDrillThrough(), 0);
    EXPECT_EQ(result->GetCellTable().GetNumRows(), 1);
    ASSERT_EQ(result->GetAxisCount(), 1u);
    const RESTAxisDimension& dimension = result->GetAxis(0).GetDimensions().at(0);
    EXPECT_EQ(dimension.GetName(), u"D");
    EXPECT_EQ(dimension.HasParentUniqueName(), 1);
    EXPECT_EQ(dimension.HasMemberName(), 1);
    EXPECT_EQ(dimension.HasMemberType(), 0);
    EXPECT_EQ(result->GetAxis(0).GetTuples().size(), 1u);
}

TEST(MdxResultParserTest, WrongTypeAtEveryKeyFailsTheAnswer) {
    const std::vector<std::pair<std::string, std::string>> memberKeys = {
        {"\"id\": \"1\"", "\"id\": 1"},
        {"\"name\": \"A\"", "\"name\": []"},
        {"\"alias\": \"a\"", "\"alias\": {}"},
        {"\"numChildren\": 0", "\"numChildren\": \"0\""},
        {"\"numPositions\": 1", "\"numPositions\": true"},
        {"\"dimensionNumber\": 1", "\"dimensionNumber\": \"1\""},
        {"\"mdxMemberOrdinal\": 0", "\"mdxMemberOrdinal\": 1e20"},
        {"\"isAttribute\": false", "\"isAttribute\": 0"},
        {"\"isExpression\": false", "\"isExpression\": \"no\""},
        {"\"mdxParentMemberId\": \"0\"", "\"mdxParentMemberId\": 0"},
        {"\"mdxParentMemberName\": \"[D <1>].[All <0>]\"", "\"mdxParentMemberName\": 1"},
        {"\"level\": 1", "\"level\": \"1\""},
        {"\"levelName\": \"L\"", "\"levelName\": false"},
    };
    for (const auto& [good, bad] : memberKeys) {
        std::string member = kMember;
        size_t at = member.find(good);
        ASSERT_NE(at, std::string::npos) << good;
        member.replace(at, good.size(), bad);
        ExpectFailed(Parse(Answer(member, "", "")), bad);
    }
    const std::string answer = Answer(kMember, "", "");
    const std::vector<std::pair<std::string, std::string>> answerKeys = {
        {"\"numRows\": 1", "\"numRows\": \"1\""},
        {"\"numColumns\": 1", "\"numColumns\": null"},
        {"[\"1\"]", "[1]"},
        {"[\"1\"]", "[null]"},
        {"\"type\": \"ROWS\"", "\"type\": 1"},
        {"\"type\": \"ROWS\"", "\"kind\": \"ROWS\""},
        {"\"dimensionNumber\": 1,\n", "\"dimensionNumber\": \"1\",\n"},
        {"\"dimensionName\": \"D\"", "\"dimensionName\": null"},
        {"\"memberParentUniqueName\": true", "\"memberParentUniqueName\": 1"},
        {"\"memberName\": true", "\"memberName\": \"true\""},
        {"\"memberType\": false", "\"memberType\": null"},
        {"\"parentMemberPositions\": [0]", "\"parentMemberPositions\": [\"0\"]"},
        {"\"parentMemberPositions\": [0]", "\"parentMemberPositions\": [[0]]"},
    };
    for (const auto& [good, bad] : answerKeys) {
        std::string spoilt = answer;
        size_t at = spoilt.find(good);
        ASSERT_NE(at, std::string::npos) << good;
        spoilt.replace(at, good.size(), bad);
        ExpectFailed(Parse(spoilt), bad);
    }
    ExpectFailed(Parse(R"({"values": 5})"), "values a number");
    ExpectFailed(Parse(R"({"axes": [5]})"), "axis a number");
    ExpectFailed(Parse(R"({"axes": [{"type": "ROWS", "dimensions": [7]}]})"), "dimension a number");
    ExpectFailed(Parse(R"({"drillThrough": "true"})"), "drillThrough a string");
}

TEST(MdxResultParserTest, AnswersThatAreNotObjectsFail) {
    for (const char* text : {"[]", "\"text\"", "42", "true", "[{\"values\": null}]"}) {
        ExpectFailed(Parse(text), text);
    }
}

TEST(MdxResultParserTest, EmptyObjectAndNullAreEmptyGoodResults) {
    // Every key of null reads as null, as of an object without keys.
    for (const char* text : {"{}", "null"}) {
        std::unique_ptr<RESTData> result = Parse(text);
        EXPECT_EQ(result->GetStatus(), 1) << text;
        EXPECT_EQ(result->GetAxisCount(), 0u) << text;
        EXPECT_EQ(result->GetCellTable().GetNumRows(), 0) << text;
        EXPECT_EQ(result->IsDrillThrough(), 0) << text;
    }
}

TEST(MdxResultParserTest, CellTableCountsAsStated) {
    std::unique_ptr<RESTData> result =
        Parse(R"({"values": {"numRows": 2, "numColumns": 3, "values": ["a", "b"]}})");
    EXPECT_EQ(result->GetCellTable().GetNumRows(), 2);
    EXPECT_EQ(result->GetCellTable().GetNumColumns(), 3);
    EXPECT_EQ(result->GetCellTable().GetValues().size(), 2u);
    result = Parse(R"({"values": {"numRows": 2, "numColumns": 3}})");
    EXPECT_EQ(result->GetStatus(), 1);
    EXPECT_EQ(result->GetCellTable().GetNumColumns(), 3);
    EXPECT_TRUE(result->GetCellTable().GetValues().empty());
    ExpectFailed(Parse(R"({"values": {"values": ["a"]}})"), "no counts");
    EXPECT_EQ(
        Parse(R"({"values": {"numRows": 1, "numColumns": 1, "values": ["\u00e9\ud83d\ude00"]}})")
            ->GetCellTable()
            .GetValues()[0],
        u"\u00E9\U0001F600");
}

TEST(MdxResultParserTest, DrillThroughAnswer) {
    std::unique_ptr<RESTData> result = Parse(R"({"drillThrough": true,
        "drillThroughResult": {"values": [["a", "b"], null, 5, ["c", "d"]], "numRows": 2,
                               "numColumns": 2, "header": [null, "X", "Y"]},
        "values": {"numRows": 1, "numColumns": 1, "values": ["1"]},
        "axes": [{"type": "ROWS"}]})");
    ASSERT_EQ(result->GetStatus(), 1);
    EXPECT_EQ(result->IsDrillThrough(), 1);
    const RESTDrillThroughTable& table = result->GetDrillThroughTable();
    EXPECT_EQ(table.GetValues(), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(table.GetHeader(), (std::vector<std::u16string>{u"X", u"Y"}));
    EXPECT_EQ(table.GetNumRows(), 2);
    EXPECT_EQ(result->GetAxisCount(), 0u);
    EXPECT_EQ(result->GetCellTable().GetNumRows(), 0);
}

TEST(MdxResultParserTest, DrillThroughWithoutRowsIsAnEmptyOrdinaryResult) {
    for (const char* text :
         {R"({"drillThrough": true})", R"({"drillThrough": true, "drillThroughResult": null})",
          R"({"drillThrough": true, "drillThroughResult": {"values": null}})",
          R"({"drillThrough": true, "drillThroughResult": {"values": {}}})"}) {
        std::unique_ptr<RESTData> result = Parse(text);
        EXPECT_EQ(result->GetStatus(), 1) << text;
        EXPECT_EQ(result->IsDrillThrough(), 0) << text;
        EXPECT_EQ(result->GetAxisCount(), 0u) << text;
    }
    std::unique_ptr<RESTData> ordinary =
        Parse(R"({"drillThrough": false, "values": {"numRows": 1, "numColumns": 1}})");
    EXPECT_EQ(ordinary->IsDrillThrough(), 0);
    EXPECT_EQ(ordinary->GetCellTable().GetNumRows(), 1);
}

TEST(MdxResultParserTest, DrillThroughFaults) {
    ExpectFailed(Parse(R"({"drillThrough": true, "drillThroughResult": {"values": [["a", null]],
                 "numRows": 1, "numColumns": 2, "header": []}})"),
                 "null cell");
    ExpectFailed(Parse(R"({"drillThrough": true, "drillThroughResult": {"values": [],
                 "numColumns": 2, "header": []}})"),
                 "no numRows");
    ExpectFailed(Parse(R"({"drillThrough": true, "drillThroughResult": {"values": [],
                 "numRows": 0, "numColumns": 0, "header": "X"}})"),
                 "header not an array");
    ExpectFailed(Parse(R"({"drillThrough": true, "drillThroughResult": {"values": [],
                 "numRows": 0, "numColumns": 0, "header": [1]}})"),
                 "number in header");
}

TEST(MdxResultParserTest, CrossProductTuplesAsGiven) {
    std::unique_ptr<RESTData> result = Parse(R"({"axes": [{"type": "COLUMNS",
        "dimensions": [{"dimensionNumber": 1, "dimensionName": "A", "memberParentUniqueName": false,
                        "memberName": false, "memberType": false,
                        "members": [{"id": "a1", "positions": [{"mdxParentMemberId": "p"}]},
                                    {"id": "a2", "positions": [{"mdxParentMemberId": "p"}]}]},
                       {"dimensionNumber": 2, "dimensionName": "B", "memberParentUniqueName": false,
                        "memberName": false, "memberType": false, "members": [{"id": "b1"}]}],
        "crossProductTuples": [
          {"members": [{"id": "a2"}, {"id": "b1", "positions": [{"level": 0}, {"level": 2}]}],
           "parentMemberPositions": [0, 1]},
          {"members": [{"id": "a1"}, {"id": "b1"}]}]},
        {"type": "ROWS", "dimensions": [], "crossProductTuples": []}]})");
    ASSERT_EQ(result->GetStatus(), 1);
    const RESTAxis& columns = result->GetAxis(0);
    ASSERT_EQ(columns.GetTuples().size(), 2u);
    const JSONMember& b1 = columns.GetTuples()[0].GetMembers()[1];
    EXPECT_EQ(columns.GetTuples()[0].GetMembers()[0].GetId(), u"a2");
    EXPECT_EQ(b1.GetParentPosition(), 1);
    EXPECT_EQ(b1.GetLevelNumber(), 2);
    // No parent flags on an axis whose tuples the answer gives.
    EXPECT_EQ(columns.GetDimensions()[0].GetMembers()[1].GetParentSameAsPrevious(), 0);
    EXPECT_TRUE(result->GetAxis(1).GetTuples().empty());
    ExpectFailed(Parse(R"({"axes": [{"type": "ROWS", "crossProductTuples": {}}]})"),
                 "crossProductTuples an object");
}

TEST(MdxResultParserTest, ParentMemberPositionsAndParentFlags) {
    std::unique_ptr<RESTData> result = Parse(R"({"axes": [{"type": "ROWS",
        "dimensions": [{"dimensionNumber": 1, "dimensionName": "A", "memberParentUniqueName": false,
                        "memberName": false, "memberType": true,
                        "members": [{"id": "1", "positions": [{"mdxParentMemberId": "P"},
                                                              {"mdxParentMemberId": "Q"}]},
                                    {"id": "2", "positions": [{"mdxParentMemberId": "P"}]},
                                    {"id": "3", "positions": [{"mdxParentMemberId": "Q"}]}],
                        "parentMemberPositions": [1]}]}]})");
    ASSERT_EQ(result->GetStatus(), 1);
    const std::vector<RESTTuple>& tuples = result->GetAxis(0).GetTuples();
    ASSERT_EQ(tuples.size(), 3u);
    EXPECT_EQ(tuples[0].GetMembers()[0].GetParentPosition(), 1);
    EXPECT_EQ(tuples[1].GetMembers()[0].GetParentPosition(), 0);
    EXPECT_EQ(tuples[0].GetMembers()[0].GetParentSameAsPrevious(), 0);
    EXPECT_EQ(tuples[1].GetMembers()[0].GetParentSameAsPrevious(), 1);
    EXPECT_EQ(tuples[2].GetMembers()[0].GetParentSameAsPrevious(), 0);
    // Positions that name no place of the member, and a list that is not an array.
    EXPECT_EQ(Parse(R"({"axes": [{"type": "ROWS", "dimensions": [{"dimensionNumber": 1,
        "dimensionName": "A", "memberParentUniqueName": false, "memberName": false,
        "memberType": true, "members": [{"id": "1"}], "parentMemberPositions": [9]}]}]})")
                  ->GetAxis(0)
                  .GetTuples()[0]
                  .GetMembers()[0]
                  .GetMemberType(),
              kMemberTypeRegular);
    EXPECT_EQ(Parse(R"({"axes": [{"type": "ROWS", "dimensions": [{"dimensionNumber": 1,
        "dimensionName": "A", "memberParentUniqueName": false, "memberName": false,
        "memberType": true, "members": [{"id": "1"}], "parentMemberPositions": "x"}]}]})")
                  ->GetStatus(),
              1);
}

TEST(MdxResultParserTest, ExplodingCrossProductFails) {
    std::string members;
    for (int i = 0; i < 200; ++i) {
        members += std::string(i ? "," : "") + "{}";
    }
    std::string dimension = R"({"dimensionNumber": 1, "dimensionName": "A",
        "memberParentUniqueName": false, "memberName": false, "memberType": false,
        "members": [)" + members +
                            "]}";
    ExpectFailed(Parse(R"({"axes": [{"type": "ROWS", "dimensions": [)" + dimension + "," +
                       dimension + "," + dimension + "]}]}"),
                 "200^3 tuples");
}

TEST(MdxResultParserTest, DamagedBodiesFail) {
    std::string good = GzipText("{}");
    ExpectFailed(ParseMdxResult({}), "empty");
    ExpectFailed(ParseMdxResult({0x1f, 0x8b, 8}), "three bytes");
    ExpectFailed(ParseMdxResult(Bytes("{\"values\": null}")), "plain JSON");
    ExpectFailed(ParseMdxResult(Bytes(good + std::string(4, '\0'))), "bytes after the stream");
    ExpectFailed(ParseMdxResult(Bytes(good + good)), "two members");
    // The request accepts "deflate", but only a gzip wrapper is decoded.
    const std::string text = "{\"values\": {\"numRows\": 1, \"numColumns\": 1}}";
    std::vector<unsigned char> zlibBody(compressBound(text.size()));
    uLongf zlibLength = zlibBody.size();
    ASSERT_EQ(compress(zlibBody.data(), &zlibLength, reinterpret_cast<const Bytef*>(text.data()),
                       text.size()),
              Z_OK);
    zlibBody.resize(zlibLength);
    // Each with four more bytes that state the true length, so that the decoder is what refuses.
    std::string zlibText(zlibBody.begin(), zlibBody.end());
    unsigned int length = static_cast<unsigned int>(text.size());
    ExpectFailed(ParseMdxResult(Bytes(WithGzipSizeTrailer(zlibText + "LLLL", length))),
                 "zlib format");
    ExpectFailed(ParseMdxResult(Bytes(WithGzipSizeTrailer(
                     zlibText.substr(2, zlibText.size() - 6) + "LLLL", length))),
                 "raw deflate");
    ExpectFailed(ParseMdxResult(Bytes(DamageGzip(GzipText(std::string(200, ' ') + "{}")))),
                 "damaged");
    for (size_t cut = 0; cut < good.size(); ++cut) {
        ExpectFailed(ParseMdxResult(Bytes(good.substr(0, cut))), "cut " + std::to_string(cut));
    }
    // Trailers that lie: too large (up to the 32-bit limit) or too small.
    for (unsigned int size : {3u, 100u, 0x7FFFFFFFu, 0xFFFFFBFFu, 0xFFFFFFFFu, 1u, 0u}) {
        ExpectFailed(ParseMdxResult(Bytes(WithGzipSizeTrailer(good, size))),
                     "trailer " + std::to_string(size));
    }
    ExpectFailed(ParseMdxResult(Bytes(WithGzipSizeTrailer(GzipText("{}   "), 2))),
                 "trailer cuts a whole JSON value out of the text");
}

TEST(MdxResultParserTest, DeepNestingFailsWithoutOverflowingTheStack) {
    ExpectFailed(Parse(std::string(100000, '[') + std::string(100000, ']')), "arrays");
    std::string objects;
    for (int i = 0; i < 100000; ++i) {
        objects += "{\"axes\":";
    }
    ExpectFailed(Parse(objects + "null" + std::string(100000, '}')), "objects");
    // Unbalanced: opened and never closed.
    ExpectFailed(Parse(std::string(100000, '{')), "unclosed");
}

}  // namespace
