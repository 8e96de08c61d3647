// Parsers of the login, model, dimension, level and member answers.
#include <gtest/gtest.h>

#include <string>

#include "client/json_parsers.h"
#include "client/service_address.h"

namespace {

using web::json::json_exception;
using web::json::value;

TEST(ModelParsersTest, FirstModelOfEachNameInAnswerOrder) {
    std::vector<JSONModel> models = ParseModelList(value::parse(R"([
        {"id": "2", "name": "B", "createdEpochSeconds": "17", "updatedEpochSeconds": "18"},
        {"id": "1", "name": "A", "desc": "first A"},
        {"id": "3", "name": "A", "desc": "second A"},
        {"id": "4"}, {"id": "5", "name": ""}, {"id": "6", "name": "a"}])"));
    ASSERT_EQ(models.size(), 4u);
    EXPECT_EQ(models[0].GetId(), u"2");
    EXPECT_EQ(models[0].GetCreatedEpochSeconds(), u"17");
    EXPECT_EQ(models[0].GetDesc(), u"");
    EXPECT_EQ(models[1].GetDesc(), u"first A");
    // A missing name is the empty name, and the empty name counts once too.
    EXPECT_EQ(models[2].GetId(), u"4");
    EXPECT_EQ(models[3].GetName(), u"a");
    EXPECT_TRUE(ParseModelList(value::parse("[]")).empty());
    EXPECT_TRUE(ParseModelList(value::parse(R"({"error": "x"})")).empty());
    EXPECT_THROW(ParseModelList(value::parse(R"([{"name": "A", "createdEpochSeconds": 17}])")),
                 json_exception);
}

TEST(ModelParsersTest, ModelNamesKeepDuplicates) {
    EXPECT_EQ(ParseModelNames(value::parse(R"([{"name": "A"}, {"name": "A"}, {}])")),
              (std::vector<std::u16string>{u"A", u"A", u""}));
    EXPECT_TRUE(ParseModelNames(value::parse("{}")).empty());
}

TEST(DimensionParsersTest, ListGetsTheMeasuresDimensionLast) {
    EXPECT_EQ(ParseDimensionList(value::parse("[]")).size(), 1u);
    EXPECT_EQ(ParseDimensionList(value::parse(R"({"error": 1})")).size(), 1u);
    EXPECT_EQ(ParseDimensionList(value::parse("null")).size(), 1u);
    std::vector<JSONDimension> dimensions = ParseDimensionList(value::parse(R"([
        {"number": 1, "name": "A", "allMember": null},
        {"number": 2, "name": "B", "allMember": {"id": "0", "name": "All", "isAttribute": true,
                                                "positions": [{"level": 0}]}},
        {"number": 3, "name": "C"}])"));
    ASSERT_EQ(dimensions.size(), 4u);
    EXPECT_EQ(dimensions[0].GetName(), u"A");
    EXPECT_EQ(dimensions[0].GetMember().GetId(), u"");
    EXPECT_EQ(dimensions[1].GetMember().GetName(), u"All");
    EXPECT_EQ(dimensions[1].GetMember().IsCalculated(), 1);
    EXPECT_TRUE(dimensions[1].GetMember().GetPositions().empty());
    const JSONDimension& measures = dimensions[3];
    EXPECT_EQ(measures.GetNumber(), 0);
    EXPECT_EQ(measures.GetId(), u"0");
    EXPECT_EQ(measures.GetName(), u"Measures");
    EXPECT_EQ(measures.GetMemberCardinality(), 1);
    EXPECT_EQ(measures.GetDimensionOrdinal(), 0);
    EXPECT_EQ(measures.GetMember().GetAlias(), u"Value");
    EXPECT_EQ(measures.GetMember().GetNumPositions(), 1);
    EXPECT_TRUE(measures.GetMember().GetPositions().empty());
}

TEST(DimensionParsersTest, SingleAnswerReadsOnlyTheDefaultMember) {
    JSONDimension dimension = ParseDimension(value::parse(
        R"({"number": 4, "id": "d", "name": "Time", "memberCardinality": 9,
            "dimensionOrdinal": 2, "allMember": {"name": "All"},
            "defaultMember": {"name": "2024"}})"));
    EXPECT_EQ(dimension.GetNumber(), 4);
    EXPECT_EQ(dimension.GetMember().GetName(), u"2024");
    EXPECT_EQ(
        ParseDimension(value::parse(R"({"allMember": {"name": "All"}})")).GetMember().GetName(),
        u"");
    EXPECT_THROW(ParseDimension(value::parse("[1]")), json_exception);
}

TEST(MemberParsersTest, LevelsNeedBothKeys) {
    std::vector<JSONLevel> levels =
        ParseLevelList(value::parse(R"([{"number": 0, "memberCardinality": 1, "name": "x"},
                         {"number": 1, "memberCardinality": 40}])"));
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[1].GetMemberCardinality(), 40);
    EXPECT_TRUE(ParseLevelList(value::parse("{}")).empty());
    EXPECT_THROW(ParseLevelList(value::parse(R"([{"number": 0}])")), json_exception);
    EXPECT_THROW(ParseLevelList(value::parse(R"([{"memberCardinality": 0}])")), json_exception);
}

TEST(MemberParsersTest, MembersAndSingleMember) {
    EXPECT_TRUE(ParseMembersResponse(value::parse("[]")).empty());
    EXPECT_TRUE(ParseMembersResponse(value::parse(R"({"id": "1"})")).empty());
    std::vector<JSONMember> members =
        ParseMembersResponse(value::parse(R"([{"id": "1", "name": "A"}, null])"));
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[1].GetId(), u"");
    JSONMember error = ParseMdxMember(value::parse(R"({"error": "no such member"})"));
    EXPECT_EQ(error.GetId(), u"");
    EXPECT_EQ(error.GetName(), u"");
    EXPECT_TRUE(error.GetPositions().empty());
}

// A location in the answer rewrites the process's address; the test gives it back.
class LoginParserTest : public ::testing::Test {
  protected:
    void SetUp() override { savedAddress = ServiceAddress::Get(); }
    void TearDown() override { ServiceAddress::Set(savedAddress); }

    std::string savedAddress;
};

TEST_F(LoginParserTest, TokenNeedsBothKeysAndLocationRewritesTheAddress) {
    ServiceAddress::Set("https://h:8443/base");
    APIAuthToken token = ParseAPIAuthToken(
        value::parse(R"({"apiUser": "u", "apiKey": "k", "location": "https://eu"})"));
    EXPECT_EQ(token.IsLoggedIn(), 1);
    EXPECT_EQ(token.GetApiUser(), u"u");
    EXPECT_EQ(ServiceAddress::Get(), "https://eu:8443/base");

    EXPECT_EQ(ParseAPIAuthToken(value::parse(R"({"apiUser": "u", "location": "https://x"})"))
                  .IsLoggedIn(),
              0);
    EXPECT_EQ(ServiceAddress::Get(), "https://eu:8443/base");
    EXPECT_THROW(ParseAPIAuthToken(value::parse(R"({"apiUser": "u", "apiKey": 1})")),
                 json_exception);
    EXPECT_THROW(ParseAPIAuthToken(value::parse(R"({"apiUser": "u", "apiKey": "k",
                                                    "location": 1})")),
                 json_exception);
    EXPECT_EQ(ServiceAddress::Get(), "https://eu:8443/base");
}

}  // namespace
