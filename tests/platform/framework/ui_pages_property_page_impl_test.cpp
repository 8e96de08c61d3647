// IPropertyPageImpl: page information from the module's resources, activation as a child dialog
// of the frame's window, dirty flags and the page site.
#include <gtest/gtest.h>

#include <string>

#include "module_resource_table.h"
#include "ui_pages_test_types.h"

namespace {

constexpr DialogControlTemplate kPageControls[] = {
    {IDC_STATIC, DialogControlClass::Static, u"Version:", 155, 202, 34, 8, SS_LEFT},
    {kVersionStatic, DialogControlClass::Static, u"Static", 192, 202, 35, 8, SS_LEFT},
    {kNameRadio, DialogControlClass::Button, u"Use member name", 26, 30, 75, 10,
     BS_AUTORADIOBUTTON},
    {kAliasRadio, DialogControlClass::Button, u"Prefer member alias when available", 26, 48, 129,
     10, BS_AUTORADIOBUTTON},
    {kBothRadio, DialogControlClass::Button, u"Use both member name and alias", 26, 66, 121, 10,
     BS_AUTORADIOBUTTON},
    {IDC_STATIC, DialogControlClass::Button, u" Member display options ", 11, 11, 210, 79,
     BS_GROUPBOX},
};
constexpr DialogTemplate kPageTemplate = {nullptr,
                                          u"MS Shell Dlg",
                                          8,
                                          0,
                                          0,
                                          233,
                                          216,
                                          WS_CHILD | DS_CONTROL,
                                          kPageControls,
                                          sizeof(kPageControls) / sizeof(kPageControls[0])};
constexpr DialogTemplate kFrameTemplate = {
    u"Data Link Properties", u"MS Shell Dlg", 8, 0, 0, 300, 300, WS_POPUP | WS_CAPTION, nullptr, 0};

}  // namespace

static const ComrtStringResource kPageStrings[] = {MODULE_STRING(341, "Advanced")};
static const ComrtBinaryResource kPageResources[] = {MODULE_DIALOG(340, kPageTemplate)};
COMRT_DEFINE_MODULE_RESOURCES(kPageStrings, kPageResources, nullptr)

namespace {

class PropertyPageImplTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CComObject<UiTestOptionsPage>::CreateInstance(&page), S_OK);
        page->AddRef();
        frame = CreateDialogFromTemplate(&kFrameTemplate, nullptr, nullptr, nullptr, 0);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        if (page != nullptr) page->Release();
        DestroyWindow(frame);
    }

    TestPageSite site;  // outlives the page, which may still hold it in TearDown
    CComObject<UiTestOptionsPage>* page = nullptr;
    HWND frame = nullptr;
    RECT area{10, 20, 360, 371};
};

TEST_F(PropertyPageImplTest, PageInfoComesFromTheStringTableAndTheTemplate) {
    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(info.cb, sizeof(PROPPAGEINFO));
    EXPECT_EQ(std::u16string(info.pszTitle), u"Advanced");
    ASSERT_NE(info.pszDocString, nullptr);
    ASSERT_NE(info.pszHelpFile, nullptr);
    EXPECT_EQ(std::u16string(info.pszDocString), u"");  // strings 342 and 343 do not exist
    EXPECT_EQ(std::u16string(info.pszHelpFile), u"");
    EXPECT_EQ(info.size.cx, 349);  // 233 x 216 dialog units
    EXPECT_EQ(info.size.cy, 351);
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    EXPECT_EQ(page->GetPageInfo(nullptr), E_POINTER);
}

TEST_F(PropertyPageImplTest, ActivateMakesAChildDialogAndDeactivateDestroysIt) {
    EXPECT_EQ(page->Activate(frame, nullptr, FALSE), E_POINTER);
    EXPECT_EQ(page->Show(SW_SHOW), E_UNEXPECTED);
    ASSERT_EQ(page->Activate(frame, &area, FALSE), S_OK);
    HWND window = page->m_hWnd;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), frame);
    EXPECT_EQ(IsDlgButtonChecked(window, kBothRadio), BST_CHECKED);  // WM_INITDIALOG ran
    WCHAR version[16];
    GetDlgItemTextW(window, kVersionStatic, version, 16);
    EXPECT_EQ(std::u16string(version), u"1.0.1.1");
    RECT rect{};
    GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, 350);
    EXPECT_EQ(rect.bottom, 351);
    EXPECT_EQ(page->Activate(frame, &area, FALSE), E_UNEXPECTED);

    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(page->Show(SW_SHOW), S_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT moved{0, 0, 100, 50};
    EXPECT_EQ(page->Move(&moved), S_OK);
    GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, 100);
    EXPECT_EQ(page->Move(nullptr), E_POINTER);

    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(page->m_hWnd, nullptr);
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(page->Activate(frame, &area, FALSE), S_OK);  // again, after a deactivation
    EXPECT_EQ(page->Deactivate(), S_OK);
}

TEST_F(PropertyPageImplTest, ActivateWithoutAUsableParentFails) {
    EXPECT_EQ(page->Activate(nullptr, &area, FALSE), E_FAIL);
    EXPECT_EQ(page->Activate(reinterpret_cast<HWND>(0x4242), &area, FALSE), E_FAIL);
    EXPECT_EQ(page->m_hWnd, nullptr);
}

TEST_F(PropertyPageImplTest, EditsMarkThePageDirtyWithoutTellingTheSite) {
    ASSERT_EQ(page->SetPageSite(&site), S_OK);
    ASSERT_EQ(page->Activate(frame, &area, FALSE), S_OK);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    ASSERT_TRUE(DialogClickControl(GetDlgItem(page->m_hWnd, kAliasRadio)));
    EXPECT_EQ(page->option, 1);
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    EXPECT_TRUE(page->m_bRequiresSave);
    EXPECT_TRUE(site.statusChanges.empty());
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->IsPageDirty(), S_OK);  // the framework's Apply changes nothing
}

TEST_F(PropertyPageImplTest, SetDirtyTellsTheSiteWhenThePageTurnsDirty) {
    ASSERT_EQ(page->SetPageSite(&site), S_OK);
    page->SetDirty(TRUE);
    page->SetDirty(TRUE);
    EXPECT_EQ(site.statusChanges, std::vector<DWORD>{PROPPAGESTATUS_DIRTY});
    page->SetDirty(FALSE);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(site.statusChanges.size(), 1u);
    page->SetDirty(TRUE);
    EXPECT_EQ(site.statusChanges.size(), 2u);
}

TEST_F(PropertyPageImplTest, SiteAndObjectsAreHeldUntilReplaced) {
    TestPageSite other;
    ASSERT_EQ(page->SetPageSite(&site), S_OK);
    EXPECT_EQ(site.refs, 2u);
    EXPECT_EQ(page->SetPageSite(&other), E_UNEXPECTED);
    EXPECT_EQ(other.refs, 1u);
    EXPECT_EQ(page->SetPageSite(nullptr), S_OK);
    EXPECT_EQ(site.refs, 1u);

    TestPropertyBag a;
    TestPropertyBag b;
    IUnknown* objects[] = {&a, nullptr, &b};
    ASSERT_EQ(page->SetObjects(3, objects), S_OK);
    EXPECT_EQ(page->m_nObjects, 3u);
    EXPECT_EQ(a.refs, 2u);
    EXPECT_EQ(page->SetObjects(1, nullptr), E_POINTER);
    EXPECT_EQ(a.refs, 2u);
    ASSERT_EQ(page->SetObjects(1, objects + 2), S_OK);
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(b.refs, 2u);
    ASSERT_EQ(page->SetObjects(0, nullptr), S_OK);
    EXPECT_EQ(b.refs, 1u);

    MSG msg{};
    EXPECT_EQ(page->TranslateAccelerator(&msg), S_FALSE);
    EXPECT_EQ(page->TranslateAccelerator(nullptr), E_POINTER);
    EXPECT_EQ(page->Help(u"dir"), E_NOTIMPL);
}

TEST_F(PropertyPageImplTest, ReleasingAnActivePageTakesItsWindowAlong) {
    ASSERT_EQ(page->SetPageSite(&site), S_OK);
    ASSERT_EQ(page->Activate(frame, &area, FALSE), S_OK);
    HWND window = page->m_hWnd;
    page->Release();
    page = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(site.refs, 1u);
}

}  // namespace
