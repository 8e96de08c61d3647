// Parent flags and the cross product of an axis' members.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "client/rest_axis.h"

namespace {

JSONMember WithParent(const std::u16string& id, const std::u16string& parent) {
    JSONMember member(id, id, u"", 0, 1, 0, 0, 0, 0);
    member.AddPosition(MemberPosition(parent, u"", 1, u"L"));
    return member;
}

RESTAxisDimension Dimension(int number, std::vector<JSONMember> members) {
    RESTAxisDimension dimension(number, u"D", 0, 0, 0);
    dimension.GetMembers() = std::move(members);
    return dimension;
}

std::vector<std::u16string> TupleIds(const RESTAxis& axis) {
    std::vector<std::u16string> ids;
    for (const RESTTuple& tuple : axis.GetTuples()) {
        std::u16string id;
        for (const JSONMember& member : tuple.GetMembers()) {
            id += member.GetId();
        }
        ids.push_back(id);
    }
    return ids;
}

TEST(RESTAxisTest, CrossProductLastDimensionFastest) {
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(Dimension(1, {WithParent(u"a1", u""), WithParent(u"a2", u"")}));
    axis.GetDimensions().push_back(
        Dimension(2, {WithParent(u"b1", u""), WithParent(u"b2", u""), WithParent(u"b3", u"")}));
    PostProcessAxes(axis);
    EXPECT_EQ(TupleIds(axis),
              (std::vector<std::u16string>{u"a1b1", u"a1b2", u"a1b3", u"a2b1", u"a2b2", u"a2b3"}));
}

TEST(RESTAxisTest, NoDimensionsGiveOneEmptyTupleAnEmptyDimensionNone) {
    RESTAxis empty(u"COLUMNS");
    PostProcessAxes(empty);
    ASSERT_EQ(empty.GetTuples().size(), 1u);
    EXPECT_TRUE(empty.GetTuples()[0].GetMembers().empty());

    RESTAxis hollow(u"COLUMNS");
    hollow.GetDimensions().push_back(Dimension(1, {WithParent(u"a", u"")}));
    hollow.GetDimensions().push_back(Dimension(2, {}));
    PostProcessAxes(hollow);
    EXPECT_TRUE(hollow.GetTuples().empty());
}

TEST(RESTAxisTest, ParentFlagsComparedWithTheMemberBefore) {
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(Dimension(1, {WithParent(u"1", u"P"), WithParent(u"2", u"P"),
                                                 WithParent(u"3", u"Q"), WithParent(u"4", u"P")}));
    axis.GetDimensions().push_back(
        Dimension(2, {WithParent(u"5", u"UNDEFINED"), WithParent(u"6", u"P")}));
    PostProcessAxes(axis);
    std::vector<int> flags;
    for (const RESTAxisDimension& dimension : axis.GetDimensions()) {
        for (const JSONMember& member : dimension.GetMembers()) {
            flags.push_back(member.GetParentSameAsPrevious());
        }
    }
    // The second dimension starts again from "UNDEFINED".
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 0, 0, 1, 0}));
    // The tuples carry copies of the flagged members.
    EXPECT_EQ(axis.GetTuples()[2].GetMembers()[0].GetParentSameAsPrevious(), 1);
}

TEST(RESTAxisTest, FlagFollowsTheFirstPlaceWhateverThePlaceInForce) {
    JSONMember first = WithParent(u"1", u"P");
    JSONMember second = WithParent(u"2", u"P");
    second.AddPosition(MemberPosition(u"Q", u"", 2, u"L2"));
    second.SetParentPosition(1);
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(Dimension(1, {first, second}));
    PostProcessAxes(axis);
    EXPECT_EQ(axis.GetDimensions()[0].GetMembers()[1].GetParentSameAsPrevious(), 1);
}

TEST(RESTAxisTest, MembersWithoutPlacesCountAsTopMembers) {
    JSONMember bare(u"b", u"b", u"", 0, 0, 0, 0, 0, 0);
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(
        Dimension(1, {bare, bare, WithParent(u"t", u""), WithParent(u"c", u"P")}));
    PostProcessAxes(axis);
    std::vector<int> flags;
    for (const JSONMember& member : axis.GetDimensions()[0].GetMembers()) {
        flags.push_back(member.GetParentSameAsPrevious());
    }
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 1, 0}));
}

TEST(RESTAxisTest, PrefixLeadsEveryTuple) {
    RESTAxis axis(u"ROWS");
    axis.GetDimensions().push_back(Dimension(1, {WithParent(u"x", u"")}));
    axis.GetDimensions().push_back(Dimension(2, {WithParent(u"b1", u""), WithParent(u"b2", u"")}));
    BuildAxisTuples(axis, 1, {WithParent(u"p", u"")});
    EXPECT_EQ(TupleIds(axis), (std::vector<std::u16string>{u"pb1", u"pb2"}));
}

TEST(RESTAxisTest, CrossProductOverTheLimitIsRefused) {
    RESTAxis axis(u"ROWS");
    std::vector<JSONMember> thousand(1000, WithParent(u"m", u""));
    for (int d = 0; d < 3; ++d) {
        axis.GetDimensions().push_back(Dimension(d, thousand));
    }
    EXPECT_THROW(PostProcessAxes(axis), std::length_error);
}

TEST(RESTAxisTest, ManyDimensionsNeedNoDeepRecursion) {
    RESTAxis axis(u"ROWS");
    for (int d = 0; d < 100000; ++d) {
        axis.GetDimensions().push_back(Dimension(d, {WithParent(u"m", u"")}));
    }
    PostProcessAxes(axis);
    ASSERT_EQ(axis.GetTuples().size(), 1u);
    EXPECT_EQ(axis.GetTuples()[0].GetMembers().size(), 100000u);
}

TEST(RESTAxisTest, CopiesAreDeep) {
    RESTTuple tuple({WithParent(u"a", u"")});
    RESTTuple copy = tuple;
    copy.GetMembers()[0] = WithParent(u"b", u"");
    copy.GetMembers().push_back(WithParent(u"c", u""));
    EXPECT_EQ(tuple.GetMembers().size(), 1u);
    EXPECT_EQ(tuple.GetMembers()[0].GetId(), u"a");
}

}  // namespace
