// Member records: member type, level, parent and caption from the place in force.
#include <gtest/gtest.h>

#include "client/json_member.h"
#include "client/rest_axis.h"

namespace {

JSONMember Member(int parentPosition, int firstLevel) {
    JSONMember member(u"17", u"Widget", u"W1", 3, 2, 3, 0, parentPosition, 0);
    member.AddPosition(MemberPosition(u"0", u"[Product <3>].[All <0>]", firstLevel, u"Category"));
    member.AddPosition(MemberPosition(u"", u"", 0, u"(All)"));
    return member;
}

TEST(JSONMemberTest, MemberTypeFollowsThePlaceInForce) {
    EXPECT_EQ(Member(0, 3).GetMemberType(), kMemberTypeRegular);
    EXPECT_EQ(Member(0, 0).GetMemberType(), kMemberTypeAll);
    EXPECT_EQ(Member(1, 3).GetMemberType(), kMemberTypeAll);
    EXPECT_EQ(Member(0, 3).GetLevelNumber(), 3);
    EXPECT_EQ(Member(0, 3).GetParentUniqueName(), u"[Product <3>].[All <0>]");
    EXPECT_EQ(Member(1, 3).GetParentUniqueName(), u"");
}

TEST(JSONMemberTest, PlaceOutsideThePositionsReadsAsARegularTopMember) {
    for (int index : {2, -1, 1000}) {
        JSONMember member = Member(index, 0);
        EXPECT_EQ(member.GetPositionInForce(), nullptr);
        EXPECT_EQ(member.GetMemberType(), kMemberTypeRegular);
        EXPECT_EQ(member.GetLevelNumber(), 0);
        EXPECT_EQ(member.GetParentUniqueName(), u"");
    }
    EXPECT_EQ(JSONMember().GetMemberType(), kMemberTypeRegular);
}

TEST(JSONMemberTest, DisplayInfo) {
    JSONMember many(u"1", u"n", u"", 70000, 1, 0, 0, 0, 0);
    many.AddPosition(MemberPosition(u"", u"", 1, u"L"));
    many.SetParentSameAsPrevious(1);
    EXPECT_EQ(many.GetDisplayInfo(), 0x31170u);
    EXPECT_EQ(Member(0, 3).GetDisplayInfo(), 3u);
}

TEST(JSONMemberTest, CaptionByDisplayOption) {
    RESTAxisDimension dimension(3, u"Product", 0, 0, 0);
    JSONMember widget(u"1", u"Widget", u"W1", 0, 0, 3, 0, 0, 0);
    dimension.SetMemberDisplayOption(0);
    EXPECT_EQ(widget.GetCaption(dimension), u"Widget");
    dimension.SetMemberDisplayOption(1);
    EXPECT_EQ(widget.GetCaption(dimension), u"W1");
    dimension.SetMemberDisplayOption(2);
    EXPECT_EQ(widget.GetCaption(dimension), u"Widget (W1)");
    dimension.SetMemberDisplayOption(7);
    EXPECT_EQ(widget.GetCaption(dimension), u"Widget");

    dimension.SetMemberDisplayOption(2);
    EXPECT_EQ(JSONMember(u"1", u"Widget", u" \t", 0, 0, 3, 0, 0, 0).GetCaption(dimension),
              u"Widget");
    EXPECT_EQ(JSONMember(u"1", u"Widget", u"W1", 0, 0, 3, 0, 0, 1).GetCaption(dimension),
              u"Widget");
    EXPECT_EQ(JSONMember(u"1", u"  ", u"W1", 0, 0, 3, 0, 0, 0).GetCaption(dimension), u"W1");
    dimension.SetMemberDisplayOption(1);
    EXPECT_EQ(JSONMember(u"1", u"Widget", u" W1 ", 0, 0, 3, 0, 0, 0).GetCaption(dimension),
              u" W1 ");
}

}  // namespace
