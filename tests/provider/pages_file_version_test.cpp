// The advanced page's version text: "%d.%d.%d.%d" of the fixed file information, cut to fit.
#include <gtest/gtest.h>

#include <string>

#include "module_resource_table.h"
#include "provider/properties_advanced_dlg.h"

namespace {

TEST(PagesFileVersionTest, FormatsTheFourFileVersionWords) {
    WCHAR text[kVersionTextChars] = {};
    FormatFileVersion(MakeFixedFileInfo(1, 0, 1, 1), text, kVersionTextChars);
    EXPECT_EQ(std::u16string(text), u"1.0.1.1");
    FormatFileVersion(MakeFixedFileInfo(65535, 2, 300, 40000), text, kVersionTextChars);
    EXPECT_EQ(std::u16string(text), u"65535.2.300.40000");
}

TEST(PagesFileVersionTest, NeverOverrunsAShortBuffer) {
    WCHAR text[4] = {u'x', u'x', u'x', u'x'};
    FormatFileVersion(MakeFixedFileInfo(12, 34, 56, 78), text, 4);
    EXPECT_EQ(std::u16string(text), u"12.");
}

}  // namespace
