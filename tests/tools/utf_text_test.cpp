// Tests of the UTF-16 and UTF-8 conversions.
#include "tools/zelmo/utf_text.h"

#include <gtest/gtest.h>

namespace {

TEST(UtfTextTest, RoundTripsEveryPlane) {
    const std::string text = "Zürich € 東京 \xF0\x9F\x98\x80";
    const std::u16string wide = ToUtf16(text);
    EXPECT_EQ(wide, u"Zürich € 東京 \U0001F600");
    EXPECT_EQ(ToUtf8(wide), text);
}

TEST(UtfTextTest, NullAndEmpty) {
    EXPECT_EQ(ToUtf8(static_cast<const char16_t*>(nullptr)), "");
    EXPECT_EQ(ToUtf16(""), u"");
}

TEST(UtfTextTest, BadInputBecomesReplacementCharacters) {
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf16("a\xFF"
                      "b"),
              u"a\uFFFDb");
    EXPECT_EQ(ToUtf16("\xC0\xAF"), u"\uFFFD");    // overlong '/'
    EXPECT_EQ(ToUtf16("x\xE6\x9D"), u"x\uFFFD");  // a sequence cut short is one character
}

}  // namespace
