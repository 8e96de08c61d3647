// Axis member naming: unique names, level names, blanks, brackets and column names.
#include "provider/axis_member_naming.h"

#include <gtest/gtest.h>

#include "axis_test_data.h"

namespace results_unit {
namespace {

const RESTAxisDimension kProduct(3, u"Product", 0, 0, 0);

TEST(AxisMemberNaming, DimensionUniqueNameKeepsTheNameAndWritesTheNumber) {
    EXPECT_EQ(MakeDimensionUniqueName(kProduct), u"[Product <3>]");
    EXPECT_EQ(MakeDimensionUniqueName(RESTAxisDimension(-12, u"A]b", 0, 0, 0)), u"[A]b <-12>]");
}

TEST(AxisMemberNaming, MemberUniqueNameStartsFromTheParentOrTheDimension) {
    EXPECT_EQ(MakeMemberUniqueName(Member(u"17", u"A[1]"), kProduct), u"[Product <3>].[A|1| <17>]");
    EXPECT_EQ(
        MakeMemberUniqueName(Member(u"17", u"A[1]", u"", 0, u"[Product <3>].[All <0>]"), kProduct),
        u"[Product <3>].[All <0>].[A|1| <17>]");
    // Only the name has its brackets replaced, not the id.
    EXPECT_EQ(MakeMemberUniqueName(Member(u"[9]", u"x"), kProduct), u"[Product <3>].[x <[9]>]");
}

TEST(AxisMemberNaming, LevelUniqueNameUsesThePositionInForce) {
    JSONMember member = Member(u"1", u"m", u"", 0, u"", 1, u"Category");
    member.AddPosition(MemberPosition(u"Q", u"", 2, u"Item[x]"));
    EXPECT_EQ(MakeLevelUniqueName(member, kProduct), u"[Product <3>].[Category]");
    member.SetParentPosition(1);
    EXPECT_EQ(MakeLevelUniqueName(member, kProduct), u"[Product <3>].[Item[x]]");
    // A position outside the member's list is not read.
    member.SetParentPosition(5);
    EXPECT_EQ(MakeLevelUniqueName(member, kProduct), u"[Product <3>].[]");
    EXPECT_EQ(BracketName(MemberPosition(u"", u"", 0, u"(All)")), u"[(All)]");
}

TEST(AxisMemberNaming, TrimBlanksTakesOnlySpacesAndTabsAtBothEnds) {
    std::u16string text = u" \t a b\t \n";
    EXPECT_EQ(TrimBlanks(text), u"a b\t \n");
    text = u"\t  \t";
    EXPECT_EQ(TrimBlanks(text), u"");
    text = u"";
    EXPECT_EQ(TrimBlanks(text), u"");
    text = u"x";
    EXPECT_EQ(&TrimBlanks(text), &text);
}

TEST(AxisMemberNaming, ReplaceNameBracketsReplacesEveryBracket) {
    EXPECT_EQ(ReplaceNameBrackets(u"[[a]]b]"), u"||a||b|");
    EXPECT_EQ(ReplaceNameBrackets(u"(x)"), u"(x)");
}

TEST(AxisMemberNaming, ColumnNamesUseThePlainDimensionName) {
    const RESTAxisDimension time(1, u"Time [x]", 0, 0, 0);
    EXPECT_EQ(MemberUniqueNameColumnName(time), u"[Time [x]].[MEMBER_UNIQUE_NAME]");
    EXPECT_EQ(MemberTypeColumnName(time), u"[Time [x]].[MEMBER_TYPE]");
}

}  // namespace
}  // namespace results_unit
