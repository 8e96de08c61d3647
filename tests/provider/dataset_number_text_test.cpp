// Cell texts read as numbers: the whole-text rule of the dataset and the prefix rule of the
// drill-through rowset, whatever the process locale.
#include "provider/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

bool Whole(const std::u16string& text, double* value) { return ReadWholeNumber(text, value); }

TEST(DatasetNumberText, WholeTextsFollowTheDecimalGrammar) {
    double value = -1;
    EXPECT_TRUE(Whole(u"+.5", &value));
    EXPECT_EQ(value, 0.5);
    EXPECT_TRUE(Whole(u"1.", &value));
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(Whole(u"\n\v\f\r 2E+2", &value));
    EXPECT_EQ(value, 200.0);
    EXPECT_TRUE(Whole(std::u16string(300, u'9'), &value));
    EXPECT_EQ(value, 1e300);
    for (const char16_t* text :
         {u".", u"-", u"1e", u"1e+", u"0x10", u"inf", u"nan", u"7\n", u" ", u"1e-400",
          u"\u00a0"
          u"7",
          u"\uff17"})
        EXPECT_FALSE(Whole(text, &value)) << std::string(text, text + 1);
}

TEST(DatasetNumberText, LeadingNumbersStopAtTheFirstMisfit) {
    EXPECT_EQ(ReadLeadingNumber(u"1e5x"), 1e5);
    EXPECT_EQ(ReadLeadingNumber(u"1ex"), 1.0);
    EXPECT_EQ(ReadLeadingNumber(u"-1e999"), -HUGE_VAL);
    EXPECT_EQ(ReadLeadingNumber(u"1e-400"), 0.0);
    EXPECT_EQ(ReadLeadingNumber(u"0x1A"), 0.0);
    EXPECT_EQ(ReadLeadingNumber(u"\t-.25 and more"), -0.25);
    EXPECT_EQ(ReadLeadingNumber(u""), 0.0);
    const NumberSpan span = FindLeadingNumber(u"  12.5e3;");
    EXPECT_EQ(span.begin, 2u);
    EXPECT_EQ(span.end, 8u);
}

TEST(DatasetNumberText, TheProcessLocaleDoesNotChangeTheDecimalPoint) {
    const char* chosen = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma here";
    double value = 0;
    EXPECT_TRUE(ReadWholeNumber(u"12.5", &value));
    EXPECT_EQ(value, 12.5);
    EXPECT_FALSE(ReadWholeNumber(u"12,5", &value));
    EXPECT_EQ(ReadLeadingNumber(u"1e999"), HUGE_VAL);
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
