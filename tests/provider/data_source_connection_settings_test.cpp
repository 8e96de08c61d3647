// The data source's settings logic: reading the initialisation properties, the prompt decision
// and the narrow credentials.
#include "provider/connection_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com_variant.h"

namespace {

class InitProperties {
  public:
    InitProperties& Add(DBPROPID id, const CComVariant& value) {
        DBPROP prop{};
        prop.dwPropertyID = id;
        VariantInit(&prop.vValue);
        VariantCopy(&prop.vValue, &value);
        props.push_back(prop);
        return *this;
    }
    ~InitProperties() {
        for (DBPROP& prop : props) VariantClear(&prop.vValue);
    }
    DBPROPSET Set(const GUID& guid = DBPROPSET_DBINIT) {
        return DBPROPSET{props.data(), static_cast<ULONG>(props.size()), guid};
    }

  private:
    std::vector<DBPROP> props;
};

ConnectionSettings Read(InitProperties& properties, const GUID& guid = DBPROPSET_DBINIT) {
    ConnectionSettings settings;
    DBPROPSET set = properties.Set(guid);
    ReadInitProperties(&set, 1, settings);
    return settings;
}

TEST(ConnectionSettingsTest, ReadsCredentialsWindowAndDisplayOption) {
    InitProperties properties;
    properties.Add(DBPROP_AUTH_USERID, CComVariant(u"ann@example.com"))
        .Add(DBPROP_AUTH_PASSWORD, CComVariant(u"s3cret"))
        .Add(DBPROP_INIT_DATASOURCE, CComVariant(u"1"))
        .Add(DBPROP_INIT_HWND, CComVariant(0x1234));
    const ConnectionSettings settings = Read(properties);
    EXPECT_EQ(std::u16string(settings.userName), u"ann@example.com");
    EXPECT_EQ(std::u16string(settings.password), u"s3cret");
    EXPECT_EQ(settings.memberDisplayOption, 1);
    EXPECT_EQ(settings.parentWindow, reinterpret_cast<HWND>(0x1234));
}

TEST(ConnectionSettingsTest, OnlyTheInitialisationSetIsRead) {
    InitProperties properties;
    properties.Add(DBPROP_AUTH_USERID, CComVariant(u"ann"));
    EXPECT_EQ(std::u16string(Read(properties, DBPROPSET_DATASOURCE).userName), u"");
}

TEST(ConnectionSettingsTest, DisplayOptionIsParsedLikePercentD) {
    const std::vector<std::pair<std::u16string, int>> cases = {
        {u"1", 1},   {u"", 2},       {u"x1", 2},  {u"7", 7},
        {u"  0", 0}, {u"-3abc", -3}, {u"2.9", 2}, {u"99999999999", 2147483647},
        {u"+", 2},
    };
    for (const auto& [text, option] : cases) {
        InitProperties properties;
        properties.Add(DBPROP_INIT_DATASOURCE, CComVariant(text.c_str()));
        EXPECT_EQ(Read(properties).memberDisplayOption, option)
            << std::string(text.begin(), text.end());
    }
}

TEST(ConnectionSettingsTest, UnconvertibleCharactersAfterTheNumberDoNotStopIt) {
    // The code page conversion replaces a lone surrogate; "%d" reads the digits before it.
    const char16_t digitsFirst[] = {u'1', 0xD800, 0};
    const char16_t surrogateFirst[] = {0xDC00, u'1', 0};
    InitProperties properties;
    properties.Add(DBPROP_INIT_DATASOURCE, CComVariant(digitsFirst));
    EXPECT_EQ(Read(properties).memberDisplayOption, 1);
    InitProperties leading;
    leading.Add(DBPROP_INIT_DATASOURCE, CComVariant(surrogateFirst));
    EXPECT_EQ(Read(leading).memberDisplayOption, 2);
}

TEST(ConnectionSettingsTest, EveryReadStartsFromOptionTwo) {
    ConnectionSettings settings;
    settings.memberDisplayOption = 0;
    InitProperties properties;
    DBPROPSET set = properties.Set();
    ReadInitProperties(&set, 1, settings);
    EXPECT_EQ(settings.memberDisplayOption, 2);
}

TEST(ConnectionSettingsTest, OverlongCredentialsAreCutTo255Characters) {
    const std::u16string user(300, u'u');
    const std::u16string password(256, u'p');
    InitProperties properties;
    properties.Add(DBPROP_AUTH_USERID, CComVariant(user.c_str()))
        .Add(DBPROP_AUTH_PASSWORD, CComVariant(password.c_str()));
    const ConnectionSettings settings = Read(properties);
    EXPECT_EQ(std::u16string(settings.userName), user.substr(0, 255));
    EXPECT_EQ(std::u16string(settings.password), password.substr(0, 255));
}

TEST(ConnectionSettingsTest, PromptUnlessTheNamedUserIsCached) {
    ConnectionSettings settings;
    int asked = 0;
    auto cached = [&](std::u16string user) {
        ++asked;
        return user == u"ann" ? 1 : 0;
    };
    EXPECT_TRUE(ShouldPrompt(settings, cached));
    EXPECT_EQ(asked, 0);  // an empty name never reaches the cache
    CopyToField(u"ann", 3, settings.userName, kCredentialChars);
    EXPECT_FALSE(ShouldPrompt(settings, cached));
    CopyToField(u"bob", 3, settings.userName, kCredentialChars);
    EXPECT_TRUE(ShouldPrompt(settings, cached));

    EXPECT_TRUE(CredentialsMissing(settings));
    CopyToField(u"pw", 2, settings.password, kCredentialChars);
    EXPECT_FALSE(CredentialsMissing(settings));
}

TEST(ConnectionSettingsTest, NarrowCredentialsAreUtf8AndFailEmpty) {
    char buffer[kNarrowUserNameBytes];
    ToNarrow(u"Zo\u00eb \u20ac \U0001F600", buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), "Zo\xc3\xab \xe2\x82\xac \xf0\x9f\x98\x80");

    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    ToNarrow(lone, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), "");

    // 255 characters of three bytes each do not fit 512 bytes: wcstombs_s fails, text is empty.
    const std::u16string wide(255, u'\u20ac');
    ToNarrow(wide.c_str(), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), "");
    char password[kNarrowPasswordBytes];
    ToNarrow(wide.c_str(), password, sizeof password);
    EXPECT_EQ(std::string(password).size(), 765u);

    // The text and its terminator must fit exactly.
    char small[4];
    ToNarrow(u"abc", small, sizeof small);
    EXPECT_EQ(std::string(small), "abc");
    ToNarrow(u"abcd", small, sizeof small);
    EXPECT_EQ(std::string(small), "");
}

TEST(ConnectionSettingsTest, CopyToFieldNeverOverruns) {
    WCHAR field[4];
    CopyToField(u"abcdef", 6, field, 4);
    EXPECT_EQ(std::u16string(field), u"abc");
    CopyToField(nullptr, 5, field, 4);
    EXPECT_EQ(std::u16string(field), u"");
}

}  // namespace
