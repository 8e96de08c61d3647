// The registrar against a scratch registry: round trips, ForceRemove, NoRemove, Delete, per-user
// registration, replacements, and scripts that must change nothing.
#include <gtest/gtest.h>

#include "atl_com.h"
#include "registrar_test_registry.h"

namespace {

const char16_t kClassKey[] = u"CLSID\\{8A2D0F31-0000-4000-8000-000000000001}";

const char16_t kScript[] =
    uR"(HKCR
{
	Test.Widget.1 = s 'Test Widget'
	{
		CLSID = s '{8A2D0F31-0000-4000-8000-000000000001}'
	}
	NoRemove CLSID
	{
		ForceRemove {8A2D0F31-0000-4000-8000-000000000001} = s 'Test Widget'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'OLE DB MD Provider' = s 'Test Widget'
			val OLEDB_SERVICES = d '-1'
		}
	}
}
)";

class RegObjectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // What every machine has, and some neighbours the script must leave alone.
        ScratchRegistry::SetString(HKEY_LOCAL_MACHINE, u"Software\\Classes\\CLSID\\{Other}",
                                   nullptr, u"other class");
        ScratchRegistry::SetString(HKEY_LOCAL_MACHINE, u"Software\\Classes\\.txt", nullptr,
                                   u"txtfile");
        ScratchRegistry::CreateKey(HKEY_CURRENT_USER, u"Software\\Classes");
        ScratchRegistry::SetString(HKEY_CURRENT_USER, u"Software\\Vendor", u"Setting", u"on");
        m_registrar.AddReplacement(u"MODULE", u"/opt/test/widget.so");
    }

    ScratchRegistry m_registry;
    CRegObject m_registrar;
};

TEST_F(RegObjectTest, RegisterThenUnregisterRestoresTheRegistry) {
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kScript));
    EXPECT_NE(before, ScratchRegistry::Dump());
    EXPECT_EQ("s:/opt/test/widget.so",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT,
                                     std::u16string(kClassKey) + u"\\InprocServer32", nullptr));
    EXPECT_EQ("s:Apartment", ScratchRegistry::Value(HKEY_CLASSES_ROOT,
                                                    std::u16string(kClassKey) + u"\\InprocServer32",
                                                    u"ThreadingModel"));
    EXPECT_EQ("d:4294967295",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, kClassKey, u"OLEDB_SERVICES"));
    EXPECT_EQ("s:Test Widget",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT,
                                     std::u16string(kClassKey) + u"\\OLE DB MD Provider", nullptr));
    // Per machine, HKCR writes land in the machine's classes.
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_LOCAL_MACHINE,
                                           std::u16string(u"Software\\Classes\\") + kClassKey));
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kScript));
    EXPECT_EQ(before, ScratchRegistry::Dump());
    // Twice is harmless.
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kScript));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, RegisteringTwiceThenUnregisteringOnceRestores) {
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kScript));
    const std::string once = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kScript));
    EXPECT_EQ(once, ScratchRegistry::Dump());
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kScript));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, ForceRemoveReplacesTheWholeSubtree) {
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, std::u16string(kClassKey) + u"\\Stale\\Deep",
                               u"old", u"x");
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, kClassKey, u"Leftover", u"y");
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kScript));
    EXPECT_FALSE(
        ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, std::u16string(kClassKey) + u"\\Stale"));
    EXPECT_EQ("missing", ScratchRegistry::Value(HKEY_CLASSES_ROOT, kClassKey, u"Leftover"));
    // Unregistering removes the class key with whatever was added below it since.
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, std::u16string(kClassKey) + u"\\Later", nullptr,
                               u"z");
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kScript));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, u"CLSID\\{Other}"));
}

TEST_F(RegObjectTest, NoRemoveKeyStaysEvenWhenRegistrationCreatedIt) {
    const char16_t script[] = u"HKCR { NoRemove Fresh { Child = s 'c' } }";
    ASSERT_EQ(S_OK, m_registrar.StringRegister(script));
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(script));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, u"Fresh"));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, u"Fresh\\Child"));
}

TEST_F(RegObjectTest, PlainKeyWithForeignContentIsKeptOnUnregister) {
    const char16_t script[] = u"HKCR { Shared = s 'mine' { val Mine = s '1' } }";
    ASSERT_EQ(S_OK, m_registrar.StringRegister(script));
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, u"Shared", u"Theirs", u"2");
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(script));
    EXPECT_EQ("s:2", ScratchRegistry::Value(HKEY_CLASSES_ROOT, u"Shared", u"Theirs"));
    EXPECT_EQ("missing", ScratchRegistry::Value(HKEY_CLASSES_ROOT, u"Shared", u"Mine"));
    EXPECT_EQ("missing", ScratchRegistry::Value(HKEY_CLASSES_ROOT, u"Shared", nullptr));
}

TEST_F(RegObjectTest, DeleteRemovesAKeyOnRegisterOnly) {
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, u"Obsolete\\Sub", nullptr, u"old");
    const char16_t script[] = u"HKCR { Delete Obsolete }";
    ASSERT_EQ(S_OK, m_registrar.StringRegister(script));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, u"Obsolete"));
    const std::string after = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(script));
    EXPECT_EQ(after, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, PerUserRegistrationGoesToTheUsersClasses) {
    // A NoRemove key stays once created: the user's classes already have CLSID, as on a profile.
    ScratchRegistry::CreateKey(HKEY_CURRENT_USER, u"Software\\Classes\\CLSID");
    const std::string before = ScratchRegistry::Dump();
    m_registrar.SetPerUser(true);
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kScript));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CURRENT_USER,
                                           std::u16string(u"Software\\Classes\\") + kClassKey));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_LOCAL_MACHINE,
                                            std::u16string(u"Software\\Classes\\") + kClassKey));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, kClassKey));  // merged view
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kScript));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, OtherRootsAreWrittenAsNamed) {
    const char16_t script[] =
        u"HKCU { NoRemove Software { Test { val Level = d '3' } } } HKLM { NoRemove Software { "
        u"'Test App' = s 'x' } }";
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, m_registrar.StringRegister(script));
    EXPECT_EQ("d:3", ScratchRegistry::Value(HKEY_CURRENT_USER, u"Software\\Test", u"Level"));
    EXPECT_EQ("s:x", ScratchRegistry::Value(HKEY_LOCAL_MACHINE, u"Software\\Test App", nullptr));
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(script));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, MalformedOrIncompleteScriptsChangeNothing) {
    const std::string before = ScratchRegistry::Dump();
    EXPECT_EQ(kRegistrarSyntaxError, m_registrar.StringRegister(u"HKCR { A = s 'x' { B"));
    EXPECT_FALSE(m_registrar.GetLastError().empty());
    EXPECT_EQ(kRegistrarSyntaxError, m_registrar.StringRegister(u"HKCR { A = s '%MISSING%' }"));
    EXPECT_EQ(kRegistrarSyntaxError, m_registrar.StringUnregister(u"HKCR { A = d 'x' }"));
    EXPECT_EQ(E_INVALIDARG, m_registrar.StringRegister(nullptr));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, UnwritableRegistryGivesAnErrorNotACrash) {
    // A root that is a file, not a folder: every write fails.
    const char* file = "/proc/self/status";
    setenv(COMRT_REGISTRY_ROOT_VARIABLE, file, 1);
    const HRESULT hr = m_registrar.StringRegister(kScript);
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_EQ(HRESULT_FACILITY(hr), static_cast<HRESULT>(FACILITY_WIN32));
}

TEST_F(RegObjectTest, PerUserUnregisterWithoutUserClassesIsHarmless) {
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Classes"));
    m_registrar.SetPerUser(true);
    const std::string before = ScratchRegistry::Dump();
    EXPECT_EQ(S_OK, m_registrar.StringUnregister(kScript));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(RegObjectTest, ReplacementsCanBeClearedAndNeedAName) {
    EXPECT_EQ(E_INVALIDARG, m_registrar.AddReplacement(nullptr, u"x"));
    EXPECT_EQ(E_INVALIDARG, m_registrar.AddReplacement(u"", u"x"));
    EXPECT_EQ(E_INVALIDARG, m_registrar.AddReplacement(u"A", nullptr));
    EXPECT_EQ(S_OK, m_registrar.ClearReplacements());
    EXPECT_EQ(kRegistrarSyntaxError, m_registrar.StringRegister(kScript));  // %MODULE% is gone
}

TEST_F(RegObjectTest, ScriptTextDecodesFromUtf8OrUtf16) {
    const char utf8[] = "\xEF\xBB\xBFHKCR { 'Caf\xC3\xA9' }";
    EXPECT_EQ(u"HKCR { 'Caf\u00e9' }", CRegObject::DecodeScript(utf8, sizeof(utf8)));
    const char16_t utf16[] = u"HKCR { K }";
    EXPECT_EQ(u"HKCR { K }", CRegObject::DecodeScript(utf16, sizeof(utf16)));
    const unsigned char bom16[] = {0xFF, 0xFE, 'H', 0, 'K', 0};
    EXPECT_EQ(u"HK", CRegObject::DecodeScript(bom16, sizeof(bom16)));
    EXPECT_EQ(u"", CRegObject::DecodeScript(nullptr, 10));
    const unsigned char odd[] = {'H', 0, 'K'};
    EXPECT_EQ(std::u16string(u"H\0K", 3), CRegObject::DecodeScript(odd, sizeof(odd)));
}

TEST_F(RegObjectTest, MissingResourceIsAnError) {
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND),
              m_registrar.ResourceRegister(GetThisModuleInstance(), 4321, u"REGISTRY"));
    EXPECT_EQ(E_INVALIDARG, m_registrar.ResourceRegisterSz(GetThisModuleInstance(), nullptr, u"X"));
}

}  // namespace
