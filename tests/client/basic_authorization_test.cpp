// The Basic authorisation value.
#include <gtest/gtest.h>

#include "client/basic_authorization.h"

namespace {

TEST(BasicAuthorizationTest, StandardBase64OfUserColonSecret) {
    EXPECT_EQ(MakeBasicAuthorization(u"Aladdin", u"open sesame"),
              u"Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(MakeBasicAuthorization(u"", u""), u"Basic Og==");
}

TEST(BasicAuthorizationTest, EachUnitGivesItsLowByte) {
    // U+0141 keeps 0x41 ('A'); U+00E9 is one byte, not its UTF-8 pair.
    EXPECT_EQ(MakeBasicAuthorization(u"\u0141", u"x"), MakeBasicAuthorization(u"A", u"x"));
    EXPECT_EQ(MakeBasicAuthorization(u"\u00E9", u""), u"Basic 6To=");
}

}  // namespace
