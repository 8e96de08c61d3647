// The texts of the schema rows: fields cut to fit, ids and numbers read out of unique names, the
// naming rule and epoch timestamps.
#include <gtest/gtest.h>

#include <string>

#include "client/json_dimension.h"
#include "provider/schema/schema_names.h"
#include "provider/schema/schema_text.h"

namespace {

TEST(SchemaText, FieldsAreCutToFitAndNeverInsideASurrogatePair) {
    WCHAR field[6];
    EXPECT_EQ(SetFieldText(field, {u"ab", u"cd"}), 4u);
    EXPECT_EQ(std::u16string(field), u"abcd");
    EXPECT_EQ(SetFieldText(field, {u"abc", u"defgh"}), 5u);
    EXPECT_EQ(std::u16string(field), u"abcde");
    EXPECT_EQ(SetFieldText(field, {u"abcd", u"\U0001F600"}), 4u);  // the pair would end at 6
    EXPECT_EQ(std::u16string(field), u"abcd");
    EXPECT_EQ(SetFieldText(field, {}), 0u);
    EXPECT_EQ(field[0], 0);
}

TEST(SchemaText, IdsComeFromTheLastAngleBrackets) {
    const std::pair<const char*, const char*> cases[] = {
        {"Region <3>", "3"}, {"[Region <3>].[Level <2>]", "2"},
        {"[Region]", ""},    {"[a <1>].[b <2", ""},
        {"<>", ""},          {"[x <y> <03>]", "03"},
        {"a > b <7>", "7"},
    };
    for (const auto& [name, id] : cases) {
        char out[kIdTextBytes];
        EXPECT_TRUE(ExtractIdText(name, 2048, out)) << name;
        EXPECT_STREQ(out, id) << name;
    }
    char out[kIdTextBytes] = "x";
    EXPECT_FALSE(ExtractIdText(("<" + std::string(64, '1') + ">").c_str(), 2048, out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(ExtractIdText(("<" + std::string(63, '1') + ">").c_str(), 2048, out));
}

TEST(SchemaText, NumbersKeepTheLeadingDigitsRuleAndRefuseWhatLeavesTheRange) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"3", 3},
        {"03", 3},
        {" -12x", -12},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"4294967299", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(ReadIdNumber(text), number) << text;
}

TEST(SchemaText, EpochTextsBecomeUtcTimestamps) {
    struct Case {
        const char16_t* text;
        int year, month, day, hour, minute, second;
    };
    const Case cases[] = {
        {u"0", 1970, 1, 1, 0, 0, 0},
        {u"1700000000", 2023, 11, 14, 22, 13, 20},
        {u"1700000000000", 2038, 1, 19, 3, 14, 7},  // beyond 32 bits: the largest count
        {u"-1", 2106, 2, 7, 6, 28, 15},             // the count is unsigned
        {u"none", 1970, 1, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        DBTIMESTAMP ts{};
        ts.fraction = 9;
        EpochToDbTimestamp(ts, static_cast<uint32_t>(ReadEpochSeconds(c.text)));
        EXPECT_EQ(ts.year, c.year);
        EXPECT_EQ(ts.month, c.month);
        EXPECT_EQ(ts.day, c.day);
        EXPECT_EQ(ts.hour, c.hour);
        EXPECT_EQ(ts.minute, c.minute);
        EXPECT_EQ(ts.second, c.second);
        EXPECT_EQ(ts.fraction, 0u);
    }
}

TEST(SchemaNames, DimensionsHierarchiesAndLevelsAreNamedByTheirNumbers) {
    const DimensionNames negative(JSONDimension(-1, u"x", u"X", JSONMember(), 0, 4));
    EXPECT_EQ(negative.dimensionUniqueName, u"X <-1>");
    EXPECT_EQ(negative.hierarchyUniqueName, u"[X <-1>]");
    EXPECT_EQ(negative.allMember, u"[X <-1>].[(All) <-1>]");
    EXPECT_EQ(DimensionNames(MakeMeasuresDimension()).allMember, u"");
    const LevelNames all(u"[Region <3>]", 0);
    EXPECT_EQ(all.uniqueName, u"[Region <3>].[(All)]");
    EXPECT_EQ(all.caption, u"(All)");
    const LevelNames second(u"[Region <3>]", 2);
    EXPECT_EQ(second.name, u"Level <2>");
    EXPECT_EQ(second.caption, u"Level 2");
    EXPECT_TRUE(IsAllLevelUniqueName("[Region <3>].[(All)]"));
    EXPECT_FALSE(IsAllLevelUniqueName("[Region <3>].[Level <2>]"));
    EXPECT_FALSE(IsAllLevelUniqueName(".[(All)]"));
}

}  // namespace
