// Tests of terminal column widths.
#include "tools/zelmo/display_width.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayWidthTest, CountsCharactersNotBytes) {
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("Plan"), 4u);
    EXPECT_EQ(DisplayWidth("Zürich"), 6u);
    EXPECT_EQ(DisplayWidth("€"), 1u);
    EXPECT_EQ(DisplayWidth("\xF0\x9D\x84\x9E"), 1u);  // U+1D11E, four bytes
}

TEST(DisplayWidthTest, WideAndZeroWidthCharacters) {
    EXPECT_EQ(DisplayWidth("東京"), 4u);
    EXPECT_EQ(DisplayWidth("e\xCC\x81"), 1u);     // e and a combining acute
    EXPECT_EQ(DisplayWidth("\xEF\xBC\xA1"), 2u);  // full-width A
}

TEST(DisplayWidthTest, BrokenBytesCountOneEach) {
    EXPECT_EQ(DisplayWidth("\xFF"), 1u);
    EXPECT_EQ(DisplayWidth("a\xE6\x9D"), 3u);  // a truncated three-byte sequence
    EXPECT_EQ(DisplayWidth("\xC3(x"), 3u);     // a lead byte without its continuation
}

}  // namespace
