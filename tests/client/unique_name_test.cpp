// Id extraction from unique names.
#include <gtest/gtest.h>

#include <string>

#include "client/unique_name.h"

namespace {

TEST(UniqueNameTest, TextBetweenFirstLessThanAndFirstGreaterThan) {
    EXPECT_EQ(ExtractIdFromUniqueName(u"[Sales <42>]"), "42");
    EXPECT_EQ(ExtractIdFromUniqueName(u"[A <1>].[B <2>]"), "1");
    EXPECT_EQ(ExtractIdFromUniqueName(u"[Sales <>]"), "");
    EXPECT_EQ(ExtractIdFromUniqueName(u"[a>b <42>]"), "");
    EXPECT_EQ(ExtractIdFromUniqueName(u"[Sales <42]"), "");
    EXPECT_EQ(ExtractIdFromUniqueName(u"Sales"), "");
    EXPECT_EQ(ExtractIdFromUniqueName(nullptr), "");
}

TEST(UniqueNameTest, LongAndNonAsciiIdsComeBackWhole) {
    std::string id(100, '7');
    std::u16string name = u"[Big <" + std::u16string(id.begin(), id.end()) + u">]";
    EXPECT_EQ(ExtractIdFromUniqueName(name.c_str()), id);
    EXPECT_EQ(ExtractIdFromUniqueName(u"[M <\u00C5r\u20AC>]"), "\xC3\x85r\xE2\x82\xAC");
}

}  // namespace
