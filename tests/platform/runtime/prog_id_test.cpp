// Tests of the ProgID lookups through HKEY_CLASSES_ROOT.
#include <gtest/gtest.h>

#include <string>

#include "com_runtime.h"
#include "scratch_registry.h"
#include "win_registry.h"

namespace {

COMRT_GUID(kClass, 0x11112222, 0x3333, 0x4444, 0x55, 0x55, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66);

void SetDefault(HKEY base, const std::u16string& path, const std::u16string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(base, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * 2)),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

class ProgIdTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDefault(HKEY_CLASSES_ROOT, u"Sample.Thing.1\\CLSID",
                   u"{11112222-3333-4444-5555-666666666666}");
        SetDefault(HKEY_CLASSES_ROOT, u"Sample.Thing\\CurVer", u"Sample.Thing.1");
        SetDefault(HKEY_CLASSES_ROOT, u"CLSID\\{11112222-3333-4444-5555-666666666666}\\ProgID",
                   u"Sample.Thing.1");
    }
    ScratchRegistry registry;
};

TEST_F(ProgIdTest, VersionedAndVersionIndependentProgIds) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"Sample.Thing.1", &clsid), S_OK);
    EXPECT_EQ(clsid, kClass);
    clsid = CLSID{};
    ASSERT_EQ(CLSIDFromProgID(u"sample.thing", &clsid), S_OK);
    EXPECT_EQ(clsid, kClass);
    clsid = CLSID{};
    ASSERT_EQ(CLSIDFromString(u"Sample.Thing", &clsid), S_OK);
    EXPECT_EQ(clsid, kClass);
}

TEST_F(ProgIdTest, UnknownOrBrokenProgIds) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(u"No.Such.Thing", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
    EXPECT_EQ(CLSIDFromProgID(u"Sample.Thing", nullptr), E_INVALIDARG);
    SetDefault(HKEY_CLASSES_ROOT, u"Bad.Clsid\\CLSID", u"not a guid");
    EXPECT_EQ(CLSIDFromProgID(u"Bad.Clsid", &clsid), CO_E_CLASSSTRING);
    // A CurVer loop ends instead of spinning.
    SetDefault(HKEY_CLASSES_ROOT, u"Loop.A\\CurVer", u"Loop.B");
    SetDefault(HKEY_CLASSES_ROOT, u"Loop.B\\CurVer", u"Loop.A");
    EXPECT_EQ(CLSIDFromProgID(u"Loop.A", &clsid), CO_E_CLASSSTRING);
}

TEST_F(ProgIdTest, ProgIdOfClassIsTaskMemory) {
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(kClass, &progId), S_OK);
    ASSERT_NE(progId, nullptr);
    EXPECT_EQ(std::u16string(progId), u"Sample.Thing.1");
    CoTaskMemFree(progId);
    progId = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(ProgIDFromCLSID(IID_IUnknown, &progId), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(progId, nullptr);
    EXPECT_EQ(ProgIDFromCLSID(kClass, nullptr), E_INVALIDARG);
}

}  // namespace
