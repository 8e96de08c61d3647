// Null-safe JSON readers, key access and the nesting pre-scan.
#include <gtest/gtest.h>

#include <string>

#include "client/json_readers.h"

namespace {

using web::json::json_exception;
using web::json::value;

TEST(JsonReadersTest, NullGivesTheDefaultOtherTypesThrow) {
    EXPECT_EQ(JsonAsString(value::null()), u"");
    EXPECT_EQ(JsonAsInteger(value::null()), 0);
    EXPECT_FALSE(JsonAsBool(value::null()));
    EXPECT_EQ(JsonAsString(value::string("x\xC3\xA9")), u"x\u00E9");
    EXPECT_THROW(JsonAsString(value::number(1)), json_exception);
    EXPECT_THROW(JsonAsInteger(value::string("1")), json_exception);
    EXPECT_THROW(JsonAsBool(value::number(1)), json_exception);
    EXPECT_THROW(JsonAsBool(value::string("true")), json_exception);
}

TEST(JsonReadersTest, IntegersOutsideThirtyTwoBitsThrowFractionsTruncate) {
    EXPECT_EQ(JsonAsInteger(value::parse("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(JsonAsInteger(value::parse("2147483647")), 2147483647);
    EXPECT_EQ(JsonAsInteger(value::parse("3.9")), 3);
    EXPECT_EQ(JsonAsInteger(value::parse("-3.9")), -3);
    EXPECT_THROW(JsonAsInteger(value::parse("2147483648")), json_exception);
    EXPECT_THROW(JsonAsInteger(value::parse("18446744073709551615")), json_exception);
    EXPECT_THROW(JsonAsInteger(value::parse("1e300")), json_exception);
    EXPECT_THROW(JsonAsInteger(value::parse("-1e10")), json_exception);
}

TEST(JsonReadersTest, FieldOfNullIsNullOfOtherNonObjectsThrows) {
    value object = value::parse(R"({"a": 1})");
    EXPECT_EQ(JsonField(object, "a").as_integer(), 1);
    EXPECT_TRUE(JsonField(object, "b").is_null());
    EXPECT_FALSE(object.has_field("b"));
    EXPECT_TRUE(JsonField(value::null(), "a").is_null());
    EXPECT_THROW(JsonField(value::parse("[1]"), "a"), json_exception);
    EXPECT_THROW(JsonField(value::string("a"), "a"), json_exception);
}

TEST(JsonReadersTest, DeepNestingIsRefusedNotRecursedInto) {
    EXPECT_THROW(ParseJsonText(std::string(100000, '[') + std::string(100000, ']')),
                 json_exception);
    EXPECT_NO_THROW(ParseJsonText(std::string(100, '[') + std::string(100, ']')));
}

TEST(JsonReadersTest, MemberObjectKeysAndDefaults) {
    JSONMember only = ReadMemberObject(value::parse(R"({"id": "1", "name": "A"})"), 0, true);
    EXPECT_EQ(only.GetId(), u"1");
    EXPECT_EQ(only.GetName(), u"A");
    EXPECT_EQ(only.GetAlias(), u"");
    EXPECT_EQ(only.GetNumChildren(), 0);
    EXPECT_EQ(only.IsCalculated(), 0);
    EXPECT_TRUE(only.GetPositions().empty());

    EXPECT_EQ(ReadMemberObject(value::parse(R"({"isExpression": true})"), 0, true).IsCalculated(),
              1);
    // "isExpression" is not read once "isAttribute" is true.
    EXPECT_EQ(ReadMemberObject(value::parse(R"({"isAttribute": true, "isExpression": 5})"), 0, true)
                  .IsCalculated(),
              1);
    EXPECT_THROW(
        ReadMemberObject(value::parse(R"({"isAttribute": false, "isExpression": 5})"), 0, true),
        json_exception);

    JSONMember placed = ReadMemberObject(
        value::parse(R"({"positions": [{"mdxParentMemberId": null, "mdxParentMemberName": null,
                                        "level": 2, "levelName": "L"}, {"level": 1}]})"),
        1, true);
    ASSERT_EQ(placed.GetPositions().size(), 2u);
    EXPECT_EQ(placed.GetPositions()[0].GetParentMemberId(), u"");
    EXPECT_EQ(placed.GetPositions()[0].GetLevelName(), u"L");
    EXPECT_EQ(placed.GetParentPosition(), 1);
    EXPECT_EQ(placed.GetLevelNumber(), 1);
    EXPECT_TRUE(ReadMemberObject(value::parse(R"({"positions": {"level": 1}})"), 0, true)
                    .GetPositions()
                    .empty());
    EXPECT_TRUE(ReadMemberObject(value::parse(R"({"positions": [{"level": 1}]})"), 0, false)
                    .GetPositions()
                    .empty());
}

}  // namespace
