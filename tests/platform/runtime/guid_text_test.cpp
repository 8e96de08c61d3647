// Tests of GUID text: StringFromGUID2, CLSIDFromString, IIDFromString.
#include <gtest/gtest.h>

#include <string>

#include "com_runtime.h"
#include "scratch_registry.h"

namespace {

COMRT_GUID(kSample, 0x0123abcd, 0x4567, 0x89ef, 0xfe, 0xdc, 0xba, 0x98, 0x76, 0x54, 0x32, 0x10);

TEST(GuidTextTest, FormatsUpperCaseBracedText) {
    OLECHAR buffer[39];
    EXPECT_EQ(StringFromGUID2(kSample, buffer, 39), 39);
    EXPECT_EQ(std::u16string(buffer), u"{0123ABCD-4567-89EF-FEDC-BA9876543210}");
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, buffer, 39), 39);
    EXPECT_EQ(std::u16string(buffer), u"{00000000-0000-0000-C000-000000000046}");
}

TEST(GuidTextTest, FormatRefusesShortBufferWithoutWriting) {
    OLECHAR buffer[39];
    buffer[0] = u'#';
    EXPECT_EQ(StringFromGUID2(kSample, buffer, 38), 0);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(StringFromGUID2(kSample, nullptr, 39), 0);
}

TEST(GuidTextTest, ParsesEitherCaseAndRoundTrips) {
    GUID parsed{};
    ASSERT_EQ(CLSIDFromString(u"{0123abcd-4567-89ef-fedc-ba9876543210}", &parsed), S_OK);
    EXPECT_EQ(parsed, kSample);
    ASSERT_EQ(IIDFromString(u"{0123ABCD-4567-89EF-FEDC-BA9876543210}", &parsed), S_OK);
    EXPECT_EQ(parsed, kSample);
}

TEST(GuidTextTest, NullTextGivesNullGuid) {
    GUID parsed = kSample;
    EXPECT_EQ(CLSIDFromString(nullptr, &parsed), S_OK);
    EXPECT_EQ(parsed, GUID_NULL);
    parsed = kSample;
    EXPECT_EQ(IIDFromString(nullptr, &parsed), S_OK);
    EXPECT_EQ(parsed, GUID_NULL);
}

TEST(GuidTextTest, MalformedTextIsRefused) {
    ScratchRegistry registry;  // text that is no GUID is looked up as a ProgID
    const char16_t* bad[] = {
        u"",
        u"{0123abcd-4567-89ef-fedc-ba9876543210",    // no closing brace
        u"0123abcd-4567-89ef-fedc-ba9876543210",     // no braces
        u"{0123abcd-4567-89ef-fedc-ba9876543210}x",  // trailing text
        u"{0123abcg-4567-89ef-fedc-ba9876543210}",   // not hex
        u"{0123abcd-4567-89effedc-ba9876543210-}",   // dash misplaced
        u"{0123abcd-4567-89ef-fedc-ba98765432}",     // short
        u"{+123abcd-4567-89ef-fedc-ba9876543210}",   // sign
    };
    for (const char16_t* text : bad) {
        GUID parsed = kSample;
        EXPECT_EQ(IIDFromString(text, &parsed), E_INVALIDARG);
        EXPECT_EQ(CLSIDFromString(text, &parsed), CO_E_CLASSSTRING);
    }
    EXPECT_EQ(CLSIDFromString(u"{0123abcd-4567-89ef-fedc-ba9876543210}", nullptr), E_INVALIDARG);
}

}  // namespace
