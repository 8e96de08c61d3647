// The registry script parser: the language's forms, replacements, and malformed scripts.
#include <gtest/gtest.h>

#include <random>

#include "registry_script.h"
#include "utf_text.h"

namespace {

bool Parse(const std::u16string& text, RegScript& script, const RegReplacementMap& map = {}) {
    std::string error;
    RegistryScriptParser parser(text, map);
    return parser.Parse(script, error);
}

std::string Text(const RegScriptValue& value) {
    std::u16string text;
    for (size_t i = 0; i + 1 < value.data.size(); i += 2)
        text.push_back(static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8)));
    while (!text.empty() && text.back() == 0) text.pop_back();
    return comrt::Utf16ToUtf8(text);
}

DWORD Dword(const RegScriptValue& value) {
    EXPECT_EQ(REG_DWORD, value.type);
    EXPECT_EQ(4u, value.data.size());
    if (value.data.size() != 4) return 0;
    return value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
           (static_cast<DWORD>(value.data[3]) << 24);
}

const char16_t kProviderScript[] =
    uR"(HKCR
{
	ZelmoProvider.DataSource.1 = s 'Tavro Ad-hoc Connector'
	{
		CLSID = s '{8A2D0F31-0000-4000-8000-000000000001}'
	}
	NoRemove CLSID
	{
		ForceRemove {8A2D0F31-0000-4000-8000-000000000001} = s 'Tavro Ad-hoc Connector'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'OLE DB MD Provider' = s 'Tavro Ad-hoc Connector'
			val OLEDB_SERVICES = d '-1'
			'TypeLib' = s '{8A2D0F31-0000-4000-8000-0000000000FF}'
		}
	}
}
)";

TEST(RegistryScriptParserTest, ReadsKeysValuesAndFlags) {
    RegScript script;
    RegReplacementMap map{{u"MODULE", u"/opt/zelmo/ZelmoProvider.so"}};
    ASSERT_TRUE(Parse(kProviderScript, script, map));
    ASSERT_EQ(1u, script.blocks.size());
    EXPECT_EQ(RegScriptRoot::ClassesRoot, script.blocks[0].root);
    const RegScriptKey& body = script.blocks[0].body;
    ASSERT_EQ(2u, body.subkeys.size());
    const RegScriptKey& progId = body.subkeys[0];
    EXPECT_EQ(u"ZelmoProvider.DataSource.1", progId.name);
    EXPECT_EQ(RegScriptKeyFlag::None, progId.flag);
    ASSERT_TRUE(progId.defaultValue);
    EXPECT_EQ("Tavro Ad-hoc Connector", Text(*progId.defaultValue));
    ASSERT_EQ(1u, progId.subkeys.size());

    const RegScriptKey& clsidKey = body.subkeys[1];
    EXPECT_EQ(RegScriptKeyFlag::NoRemove, clsidKey.flag);
    EXPECT_FALSE(clsidKey.defaultValue);
    ASSERT_EQ(1u, clsidKey.subkeys.size());
    const RegScriptKey& classKey = clsidKey.subkeys[0];
    EXPECT_EQ(u"{8A2D0F31-0000-4000-8000-000000000001}", classKey.name);
    EXPECT_EQ(RegScriptKeyFlag::ForceRemove, classKey.flag);
    ASSERT_EQ(3u, classKey.subkeys.size());
    EXPECT_EQ("/opt/zelmo/ZelmoProvider.so", Text(*classKey.subkeys[0].defaultValue));
    ASSERT_EQ(1u, classKey.subkeys[0].values.size());
    EXPECT_EQ(u"ThreadingModel", classKey.subkeys[0].values[0].first);
    EXPECT_EQ(u"OLE DB MD Provider", classKey.subkeys[1].name);
    EXPECT_EQ(u"TypeLib", classKey.subkeys[2].name);
    ASSERT_EQ(1u, classKey.values.size());
    EXPECT_EQ(0xFFFFFFFFu, Dword(classKey.values[0].second));
}

TEST(RegistryScriptParserTest, ValueTypes) {
    RegScript script;
    ASSERT_TRUE(
        Parse(uR"(HKLM { K { val a = d '55' val b = d 0x10 val c = d '4294967295'
        val d = d '-2147483648' val e = b '00ff7A' val f = e '%%PATH%%' val g = m 'x\0yz'
        'k2' = d '7' } })",
              script));
    const RegScriptKey& key = script.blocks[0].body.subkeys[0];
    ASSERT_EQ(7u, key.values.size());
    EXPECT_EQ(55u, Dword(key.values[0].second));
    EXPECT_EQ(16u, Dword(key.values[1].second));
    EXPECT_EQ(0xFFFFFFFFu, Dword(key.values[2].second));
    EXPECT_EQ(0x80000000u, Dword(key.values[3].second));
    EXPECT_EQ(REG_BINARY, key.values[4].second.type);
    EXPECT_EQ((std::vector<BYTE>{0x00, 0xff, 0x7a}), key.values[4].second.data);
    EXPECT_EQ(REG_EXPAND_SZ, key.values[5].second.type);
    EXPECT_EQ("%PATH%", Text(key.values[5].second));
    EXPECT_EQ(REG_MULTI_SZ, key.values[6].second.type);
    EXPECT_EQ((std::vector<BYTE>{'x', 0, 0, 0, 'y', 0, 'z', 0, 0, 0, 0, 0}),
              key.values[6].second.data);
    EXPECT_EQ(7u, Dword(*key.subkeys[0].defaultValue));
}

TEST(RegistryScriptParserTest, RootNamesAndKeywordsIgnoreCase) {
    RegScript script;
    ASSERT_TRUE(
        Parse(u"hkey_current_user { forceremove A { VAL x = S 'y' } } HKU { } "
              u"hklm { delete B noremove C }",
              script));
    ASSERT_EQ(3u, script.blocks.size());
    EXPECT_EQ(RegScriptRoot::CurrentUser, script.blocks[0].root);
    EXPECT_EQ(RegScriptKeyFlag::ForceRemove, script.blocks[0].body.subkeys[0].flag);
    EXPECT_EQ(u"x", script.blocks[0].body.subkeys[0].values[0].first);
    EXPECT_EQ(RegScriptRoot::Users, script.blocks[1].root);
    EXPECT_EQ(RegScriptRoot::LocalMachine, script.blocks[2].root);
    EXPECT_EQ(RegScriptKeyFlag::Delete, script.blocks[2].body.subkeys[0].flag);
    EXPECT_EQ(RegScriptKeyFlag::NoRemove, script.blocks[2].body.subkeys[1].flag);
    // A quoted keyword is a key name.
    ASSERT_TRUE(Parse(u"HKCR { 'NoRemove' 'val' }", script));
    EXPECT_EQ(u"NoRemove", script.blocks[0].body.subkeys[0].name);
    EXPECT_EQ(RegScriptKeyFlag::None, script.blocks[0].body.subkeys[0].flag);
    EXPECT_EQ(u"val", script.blocks[0].body.subkeys[1].name);
}

TEST(RegistryScriptParserTest, ReplacementsAndEscapes) {
    RegScript script;
    RegReplacementMap map{{u"AppId", u"{A}"}, {u"MODULE", u"/o'brien/lib.so"}};
    ASSERT_TRUE(Parse(u"HKCR { AppID { %APPID% = s 'it''s %module% at 100%%' } }", script, map));
    const RegScriptKey& key = script.blocks[0].body.subkeys[0].subkeys[0];
    EXPECT_EQ(u"{A}", key.name);
    EXPECT_EQ("it's /o'brien/lib.so at 100%", Text(*key.defaultValue));
    EXPECT_FALSE(Parse(u"HKCR { %UNKNOWN% }", script, map));
    EXPECT_FALSE(Parse(u"HKCR { K = s '50%' }", script, map));
    EXPECT_TRUE(script.blocks.empty());
}

TEST(RegistryScriptParserTest, EmptyScriptsAndBlocks) {
    RegScript script;
    EXPECT_TRUE(Parse(u"", script));
    EXPECT_TRUE(script.blocks.empty());
    EXPECT_TRUE(Parse(u"  \r\n\t", script));
    ASSERT_TRUE(Parse(u"HKCR\r\n{\r\n}\r\n", script));
    EXPECT_EQ(1u, script.blocks.size());
    EXPECT_TRUE(Parse(u"HKCR {}", script));
}

TEST(RegistryScriptParserTest, MalformedScriptsFail) {
    const char16_t* bad[] = {
        u"HKCR",
        u"HKCR {",
        u"HKCR { A",
        u"HKXX { }",
        u"{ }",
        u"HKCR } ",
        u"HKCR { A = }",
        u"HKCR { A = s }",
        u"HKCR { A = q 'x' }",
        u"HKCR { A = s 'unterminated }",
        u"HKCR { A = d 'x1' }",
        u"HKCR { A = d '4294967296' }",
        u"HKCR { A = d '-2147483649' }",
        u"HKCR { A = d '' }",
        u"HKCR { A = b 'abc' }",
        u"HKCR { A = b 'zz' }",
        u"HKCR { val = s 'x' }",
        u"HKCR { val A s 'x' }",
        u"HKCR { NoRemove }",
        u"HKCR { NoRemove { } }",
        u"HKCR { '' }",
        u"HKCR { A { } } }",
        u"HKCR { = }",
    };
    for (const char16_t* text : bad) {
        RegScript script;
        std::string error;
        RegistryScriptParser parser(text, {});
        EXPECT_FALSE(parser.Parse(script, error)) << comrt::Utf16ToUtf8(text);
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(script.blocks.empty());
    }
}

TEST(RegistryScriptParserTest, LimitsOfNamesAndNesting) {
    RegScript script;
    const std::u16string longest(255, u'k');
    EXPECT_TRUE(Parse(u"HKCR { " + longest + u" }", script));
    EXPECT_FALSE(Parse(u"HKCR { " + longest + u"k }", script));
    std::u16string deep = u"HKCR ";
    for (int i = 0; i < 40; ++i) deep += u"{ K ";
    for (int i = 0; i < 40; ++i) deep += u"} ";
    EXPECT_FALSE(Parse(deep, script));
    std::u16string bomb = u"HKCR ";
    for (int i = 0; i < 100000; ++i) bomb += u"{ ";
    EXPECT_FALSE(Parse(bomb, script));
}

TEST(RegistryScriptParserTest, MutatedScriptsNeverCrash) {
    const std::u16string original(kProviderScript);
    const char16_t alphabet[] = u"{}='% \n\\sdbvKx0";
    std::mt19937 random(12345);
    RegReplacementMap map{{u"MODULE", u"/m.so"}};
    for (int round = 0; round < 3000; ++round) {
        std::u16string text = original;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            switch (random() % 3) {
                case 0:
                    text.erase(at, 1 + random() % 8);
                    break;
                case 1:
                    text.insert(at, 1, alphabet[random() % (sizeof(alphabet) / 2 - 1)]);
                    break;
                default:
                    text[at] = static_cast<char16_t>(random() % 0x10000);
                    break;
            }
        }
        RegScript script;
        std::string error;
        RegistryScriptParser parser(text, map);
        if (!parser.Parse(script, error)) {
            EXPECT_TRUE(script.blocks.empty());
        }
    }
}

}  // namespace
