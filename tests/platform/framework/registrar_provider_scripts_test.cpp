// The provider's own registry scripts (resources/*.rgs) through the registrar: they parse, they
// register what the data source and pages need, and unregistering leaves the CLSID key alone.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "atl_com.h"
#include "registrar_test_registry.h"

namespace {

std::u16string ReadScript(const char* name) {
    std::ifstream file(std::string(ZELMO_RESOURCES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    const std::string bytes = text.str();
    return CRegObject::DecodeScript(bytes.data(), bytes.size());
}

const char* const kScripts[] = {"zelmo_module.rgs", "zelmo_advanced_page.rgs",
                                "zelmo_data_source.rgs", "zelmo_connection_page.rgs"};

class ProviderScriptsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Classes\\CLSID");
        ScratchRegistry::CreateKey(HKEY_CURRENT_USER, u"Software\\Classes\\CLSID");
        m_registrar.AddReplacement(u"MODULE", u"/opt/zelmo/ZelmoProvider.so");
        m_registrar.AddReplacement(u"APPID", u"{00000000-0000-0000-0000-0000000000AA}");
    }
    HRESULT All(bool doRegister) {
        for (const char* name : kScripts) {
            const std::u16string script = ReadScript(name);
            if (script.empty() && std::string(name) != "zelmo_module.rgs") return E_FAIL;
            const HRESULT hr = m_registrar.RegisterScriptText(script, doRegister);
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    }
    ScratchRegistry m_registry;
    CRegObject m_registrar;
};

TEST_F(ProviderScriptsTest, EveryScriptParses) {
    for (const char* name : kScripts) {
        RegScript script;
        std::string error;
        const std::u16string text = ReadScript(name);
        RegistryScriptParser parser(text, {{u"MODULE", u"m"}, {u"APPID", u"a"}});
        EXPECT_TRUE(parser.Parse(script, error)) << name << ": " << error;
        EXPECT_FALSE(text.empty()) << name;
    }
}

TEST_F(ProviderScriptsTest, RegistrationWritesTheDataSourceAsAnMdProvider) {
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, All(true));
    CLSID dataSource = GUID_NULL;
    ASSERT_EQ(S_OK, CLSIDFromProgID(u"ZelmoProvider.DataSource.1", &dataSource));
    OLECHAR text[40] = {};
    ASSERT_EQ(39, StringFromGUID2(dataSource, text, 40));
    const std::u16string classKey = u"CLSID\\" + std::u16string(text);
    EXPECT_EQ(
        "s:Tavro Ad-hoc Connector",
        ScratchRegistry::Value(HKEY_CLASSES_ROOT, classKey + u"\\OLE DB MD Provider", nullptr));
    EXPECT_EQ("d:4294967295",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, classKey, u"OLEDB_SERVICES"));
    EXPECT_EQ("s:/opt/zelmo/ZelmoProvider.so",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, classKey + u"\\InprocServer32", nullptr));
    EXPECT_EQ("s:Apartment",
              ScratchRegistry::Value(HKEY_CLASSES_ROOT, classKey + u"\\InprocServer32",
                                     u"ThreadingModel"));
    EXPECT_EQ(
        "s:ZelmoProvider.DataSource.1",
        ScratchRegistry::Value(HKEY_CLASSES_ROOT, u"ZelmoProvider.DataSource\\CurVer", nullptr));
    ASSERT_EQ(S_OK, All(false));
    EXPECT_EQ(before, ScratchRegistry::Dump());
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, u"CLSID"));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, u"ZelmoProvider.DataSource.1"));
}

TEST_F(ProviderScriptsTest, PerUserRegistrationLeavesTheMachineAlone) {
    const std::string before = ScratchRegistry::Dump();
    m_registrar.SetPerUser(true);
    ASSERT_EQ(S_OK, All(true));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CURRENT_USER,
                                           u"Software\\Classes\\ZelmoProvider.DataSource.1"));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_LOCAL_MACHINE,
                                            u"Software\\Classes\\ZelmoProvider.DataSource.1"));
    ASSERT_EQ(S_OK, All(false));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

}  // namespace
