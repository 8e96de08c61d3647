// IPersistPropertyBagImpl: the property map's load and save through a property bag, and the
// requires-save flag.
#include <gtest/gtest.h>

#include <string>

#include "ui_pages_test_types.h"

namespace {

class PersistPropertyBagImplTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CComObject<UiTestOptionsPage>::CreateInstance(&page), S_OK);
        page->AddRef();
    }
    void TearDown() override { page->Release(); }

    CComObject<UiTestOptionsPage>* page = nullptr;
    TestPropertyBag bag;
};

TEST_F(PersistPropertyBagImplTest, InitNewAndClassId) {
    EXPECT_EQ(page->InitNew(), S_OK);
    EXPECT_TRUE(page->m_bRequiresSave);
    CLSID clsid{};
    EXPECT_EQ(page->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_UiTestOptionsPage);
    EXPECT_EQ(page->GetClassID(nullptr), E_POINTER);
    CComPtr<IPersist> persist;
    ASSERT_EQ(page->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
}

TEST_F(PersistPropertyBagImplTest, LoadConvertsEachValueToItsEntrysType) {
    bag.values[u"Prefer Member Alias"] = CComVariant(1);  // VT_I4 for a VT_INT entry
    bag.values[u"Flag"] = CComVariant(true);
    bag.values[u"Name"] = CComVariant(u"cube");
    bag.values[u"Ratio"] = CComVariant(u"2.5");
    bag.values[u"Small"] = CComVariant(-7);
    bag.values[u"User"] = CComVariant(u"ignored");
    page->m_bRequiresSave = TRUE;
    ASSERT_EQ(page->Load(&bag, nullptr), S_OK);
    EXPECT_EQ(page->option, 1);
    EXPECT_EQ(page->flag, 1);
    ASSERT_NE(page->name, nullptr);
    EXPECT_EQ(std::u16string(page->name), u"cube");
    EXPECT_DOUBLE_EQ(page->ratio, 2.5);
    EXPECT_EQ(page->small, -7);
    EXPECT_EQ(page->user[0], 0);  // VT_LPWSTR entries transfer nothing
    EXPECT_FALSE(page->m_bRequiresSave);
    // Loading again replaces the string without leaking the first one.
    bag.values[u"Name"] = CComVariant(u"other");
    ASSERT_EQ(page->Load(&bag, nullptr), S_OK);
    EXPECT_EQ(std::u16string(page->name), u"other");
}

TEST_F(PersistPropertyBagImplTest, MissingPropertiesKeepTheirValues) {
    page->m_bRequiresSave = TRUE;
    bag.values[u"Flag"] = CComVariant(true);
    EXPECT_EQ(page->Load(&bag, nullptr), S_OK);
    EXPECT_EQ(page->option, 2);
    EXPECT_EQ(page->flag, 1);
    EXPECT_FALSE(page->m_bRequiresSave);
}

TEST_F(PersistPropertyBagImplTest, ValueOfTheWrongKindFailsTheLoad) {
    page->m_bRequiresSave = TRUE;
    bag.values[u"Prefer Member Alias"] = CComVariant(u"not a number");
    EXPECT_EQ(page->Load(&bag, nullptr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(page->option, 2);
    EXPECT_TRUE(page->m_bRequiresSave);
    EXPECT_EQ(page->Load(nullptr, nullptr), E_POINTER);
}

TEST_F(PersistPropertyBagImplTest, SaveWritesTheMapInOrderWithItsTypes) {
    page->option = 1;
    page->flag = TRUE;
    page->name = SysAllocString(u"cube");
    page->ratio = 0.25;
    page->small = -3;
    page->m_bRequiresSave = TRUE;
    ASSERT_EQ(page->Save(&bag, FALSE, TRUE), S_OK);
    std::vector<std::u16string> order = {u"Prefer Member Alias", u"Flag", u"Name", u"Ratio",
                                         u"Small"};
    EXPECT_EQ(bag.written, order);
    EXPECT_TRUE(page->m_bRequiresSave);
    EXPECT_EQ(bag.values[u"Prefer Member Alias"].vt, VT_INT);
    EXPECT_EQ(bag.values[u"Prefer Member Alias"].intVal, 1);
    EXPECT_EQ(bag.values[u"Flag"].vt, VT_BOOL);
    EXPECT_EQ(bag.values[u"Flag"].boolVal, VARIANT_TRUE);
    EXPECT_EQ(std::u16string(bag.values[u"Name"].bstrVal), u"cube");
    EXPECT_EQ(bag.values[u"Ratio"].dblVal, 0.25);
    EXPECT_EQ(bag.values[u"Small"].vt, VT_I2);
    EXPECT_EQ(bag.values[u"Small"].iVal, -3);
    ASSERT_EQ(page->Save(&bag, TRUE, FALSE), S_OK);
    EXPECT_FALSE(page->m_bRequiresSave);
}

TEST_F(PersistPropertyBagImplTest, FailingWriteStopsTheSave) {
    page->m_bRequiresSave = TRUE;
    bag.failWrite = u"Name";
    EXPECT_EQ(page->Save(&bag, TRUE, TRUE), STG_E_INVALIDPARAMETER);
    std::vector<std::u16string> order = {u"Prefer Member Alias", u"Flag", u"Name"};
    EXPECT_EQ(bag.written, order);
    EXPECT_TRUE(page->m_bRequiresSave);
    EXPECT_EQ(page->Save(nullptr, TRUE, TRUE), E_POINTER);
}

TEST_F(PersistPropertyBagImplTest, SavedValuesLoadBackUnchanged) {
    page->option = 0;
    page->flag = TRUE;
    page->name = SysAllocString(u"");
    page->ratio = -1.5;
    page->small = 32767;
    ASSERT_EQ(page->Save(&bag, TRUE, TRUE), S_OK);
    CComObject<UiTestOptionsPage>* copy = nullptr;
    ASSERT_EQ(CComObject<UiTestOptionsPage>::CreateInstance(&copy), S_OK);
    copy->AddRef();
    ASSERT_EQ(copy->Load(&bag, nullptr), S_OK);
    EXPECT_EQ(copy->option, 0);
    EXPECT_EQ(copy->flag, 1);
    EXPECT_EQ(std::u16string(copy->name), u"");
    EXPECT_EQ(copy->ratio, -1.5);
    EXPECT_EQ(copy->small, 32767);
    copy->Release();
}

}  // namespace
