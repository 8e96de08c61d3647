// Type library registration from a description: the keys the platform records, per machine and
// per user, and a clean unregistration.
#include <gtest/gtest.h>

#include "atl_com.h"
#include "registrar_test_registry.h"

namespace {

COMRT_GUID(LIBID_TestLib, 0x11111111, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55,
           0x55);
COMRT_GUID(IID_ITestOne, 0x11111111, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55,
           0x01);
COMRT_GUID(IID_ITestTwo, 0x11111111, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55,
           0x02);
COMRT_GUID(CLSID_TestCo, 0x11111111, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55,
           0x03);

const TypeLibInterface kInterfaces[] = {{&IID_ITestOne, u"ITestOne"}, {&IID_ITestTwo, u"ITestTwo"}};
const TypeLibCoClass kCoClasses[] = {{&CLSID_TestCo, u"TestCo"}};
const TypeLibDescription kLibrary = {kTypeLibSignature,
                                     &LIBID_TestLib,
                                     u"TestLib",
                                     u"Test 1.0 Type Library",
                                     1,
                                     0,
                                     0,
                                     0,
                                     kInterfaces,
                                     2,
                                     kCoClasses,
                                     1};

const char16_t kLibKey[] = u"TypeLib\\{11111111-2222-3333-4444-555555555555}";
const char16_t kOneKey[] = u"Interface\\{11111111-2222-3333-4444-555555555501}";

class TypeLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Classes\\TypeLib");
        ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Classes\\Interface");
        ScratchRegistry::CreateKey(HKEY_CURRENT_USER, u"Software\\Classes\\TypeLib");
        ScratchRegistry::CreateKey(HKEY_CURRENT_USER, u"Software\\Classes\\Interface");
    }
    ScratchRegistry m_registry;
};

std::u16string Sub(const char16_t* key, const char16_t* sub) { return std::u16string(key) + sub; }

TEST_F(TypeLibraryTest, RegistersTheLibraryAndItsInterfaces) {
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, RegisterTypeLibDescription(kLibrary, u"/opt/lib/test.so", nullptr, false));
    const HKEY root = HKEY_CLASSES_ROOT;
    EXPECT_EQ("s:Test 1.0 Type Library",
              ScratchRegistry::Value(root, Sub(kLibKey, u"\\1.0"), nullptr));
    EXPECT_EQ("s:/opt/lib/test.so",
              ScratchRegistry::Value(root, Sub(kLibKey, u"\\1.0\\0\\win64"), nullptr));
    EXPECT_EQ("s:0", ScratchRegistry::Value(root, Sub(kLibKey, u"\\1.0\\FLAGS"), nullptr));
    EXPECT_EQ("s:/opt/lib", ScratchRegistry::Value(root, Sub(kLibKey, u"\\1.0\\HELPDIR"), nullptr));
    EXPECT_EQ("s:ITestOne", ScratchRegistry::Value(root, kOneKey, nullptr));
    EXPECT_EQ("s:{00020424-0000-0000-C000-000000000046}",
              ScratchRegistry::Value(root, Sub(kOneKey, u"\\ProxyStubClsid32"), nullptr));
    EXPECT_EQ("s:{11111111-2222-3333-4444-555555555555}",
              ScratchRegistry::Value(root, Sub(kOneKey, u"\\TypeLib"), nullptr));
    EXPECT_EQ("s:1.0", ScratchRegistry::Value(root, Sub(kOneKey, u"\\TypeLib"), u"Version"));
    EXPECT_TRUE(ScratchRegistry::KeyExists(
        HKEY_LOCAL_MACHINE,
        u"Software\\Classes\\Interface\\{11111111-2222-3333-4444-555555555502}"));
    ASSERT_EQ(S_OK, UnRegisterTypeLibDescription(kLibrary, false));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(TypeLibraryTest, PerUserRegistrationStaysInTheUsersClasses) {
    const std::string before = ScratchRegistry::Dump();
    ASSERT_EQ(S_OK, RegisterTypeLibDescription(kLibrary, u"/opt/lib/test.so", u"/help", true));
    EXPECT_EQ("s:/help", ScratchRegistry::Value(
                             HKEY_CURRENT_USER,
                             u"Software\\Classes\\" + Sub(kLibKey, u"\\1.0\\HELPDIR"), nullptr));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_LOCAL_MACHINE,
                                            u"Software\\Classes\\" + std::u16string(kLibKey)));
    ASSERT_EQ(S_OK, UnRegisterTypeLibDescription(kLibrary, true));
    EXPECT_EQ(before, ScratchRegistry::Dump());
}

TEST_F(TypeLibraryTest, InterfaceOwnedByAnotherLibraryIsKept) {
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, Sub(kOneKey, u"\\TypeLib"), nullptr,
                               u"{99999999-0000-0000-0000-000000000000}");
    ASSERT_EQ(S_OK, UnRegisterTypeLibDescription(kLibrary, false));
    EXPECT_TRUE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, kOneKey));
}

TEST_F(TypeLibraryTest, OtherVersionsOfTheLibraryStay) {
    ScratchRegistry::SetString(HKEY_CLASSES_ROOT, Sub(kLibKey, u"\\2.0"), nullptr, u"v2");
    ASSERT_EQ(S_OK, RegisterTypeLibDescription(kLibrary, u"/opt/lib/test.so", nullptr, false));
    ASSERT_EQ(S_OK, UnRegisterTypeLibDescription(kLibrary, false));
    EXPECT_EQ("s:v2", ScratchRegistry::Value(HKEY_CLASSES_ROOT, Sub(kLibKey, u"\\2.0"), nullptr));
    EXPECT_FALSE(ScratchRegistry::KeyExists(HKEY_CLASSES_ROOT, Sub(kLibKey, u"\\1.0")));
}

TEST_F(TypeLibraryTest, InvalidDescriptionsAreRefused) {
    TypeLibDescription broken = kLibrary;
    broken.signature = 0;
    EXPECT_EQ(E_INVALIDARG, RegisterTypeLibDescription(broken, u"/x.so", nullptr, false));
    broken = kLibrary;
    broken.interfaces = nullptr;
    EXPECT_EQ(E_INVALIDARG, RegisterTypeLibDescription(broken, u"/x.so", nullptr, false));
    EXPECT_EQ(E_INVALIDARG, RegisterTypeLibDescription(kLibrary, nullptr, nullptr, false));
    EXPECT_EQ(nullptr, LoadTypeLibDescription(GetThisModuleInstance(), nullptr));
}

}  // namespace
