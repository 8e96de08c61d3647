// The two property pages through IPersistPropertyBag and IPropertyPage, as a data-link host drives
// them: loading and saving a bag, edits and clicks in the activated page, the version it shows.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "provider_fixture.h"

namespace {

using provider_test::TextOf;

constexpr int kUserEdit = 204;
constexpr int kPasswordEdit = 205;
constexpr int kVersionStatic = 215;
constexpr int kPreferAlias = 216;
constexpr int kUseBoth = 217;
constexpr int kUseMemberName = 218;

// A host's property bag: values by name, every write recorded in order, one name may fail.
class TestBag : public IPropertyBag {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IPropertyBag) return E_NOINTERFACE;
        *ppv = static_cast<IPropertyBag*>(this);
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }

    // Hands back the stored value as it is, whatever type was asked for.
    STDMETHOD(Read)(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        auto found = values.find(name);
        if (found == values.end()) return E_INVALIDARG;
        VariantClear(value);
        return VariantCopy(value, &found->second);
    }
    STDMETHOD(Write)(LPCOLESTR name, VARIANT* value) override {
        if (failOn == name) return STG_E_INVALIDPARAMETER;
        writes.emplace_back(name);
        values[name] = *value;
        return S_OK;
    }

    std::map<std::u16string, CComVariant> values;
    std::vector<std::u16string> writes;
    std::u16string failOn;
};

constexpr DialogTemplate kFrameTemplate = {
    u"Data Link Properties", u"MS Shell Dlg", 8, 0, 0, 400, 300, WS_POPUP | WS_CAPTION, nullptr, 0};

class PagesTest : public provider_test::ProviderTest {
  protected:
    void TearDown() override {
        if (page) page->Deactivate();
        if (frame != nullptr) DestroyWindow(frame);
    }

    void Create(const CLSID& clsid) {
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistPropertyBag,
                                   reinterpret_cast<void**>(&bag)),
                  S_OK);
        page = CComQIPtr<IPropertyPage>(bag);
        ASSERT_TRUE(page);
    }

    // Shows the page in a frame window, as a host does; returns the page's window.
    HWND Activate() {
        frame = CreateDialogFromTemplate(&kFrameTemplate, nullptr, nullptr, nullptr, 0);
        EXPECT_NE(frame, nullptr);
        RECT area{0, 0, 350, 350};
        EXPECT_EQ(page->Activate(frame, &area, FALSE), S_OK);
        HWND pageWindow = ChildDialogOf(frame);
        EXPECT_NE(pageWindow, nullptr);
        return pageWindow;
    }

    // The dialog layer offers no enumeration of child windows; handles are handed out in
    // creation order, so the page's window is the first later window whose parent is the frame.
    static HWND ChildDialogOf(HWND parent) {
        const auto base = reinterpret_cast<std::uintptr_t>(parent);
        for (std::uintptr_t step = 1; step < 64; ++step) {
            HWND candidate = reinterpret_cast<HWND>(base + 4 * step);
            if (IsWindow(candidate) && GetParent(candidate) == parent) return candidate;
        }
        return nullptr;
    }

    static std::u16string ControlText(HWND window, int id) {
        return ScriptedDialogHost::ControlText(window, id);
    }

    CComPtr<IPersistPropertyBag> bag;
    CComPtr<IPropertyPage> page;
    TestBag host;
    HWND frame = nullptr;
};

TEST_F(PagesTest, ConnectionPageSavesUserPasswordAndPersistSecurityInfoInOrder) {
    Create(CLSID_ZelmoConnectionDlg);
    host.values[u"Persist Security Info"] = CComVariant(false);
    ASSERT_EQ(bag->Save(&host, TRUE, FALSE), S_OK);
    const std::vector<std::u16string> order = {u"User ID", u"Password", u"Persist Security Info"};
    EXPECT_EQ(host.writes, order);
    EXPECT_EQ(host.values[u"User ID"].vt, VT_BSTR);
    EXPECT_EQ(TextOf(host.values[u"User ID"]), u"");
    EXPECT_EQ(host.values[u"Persist Security Info"].vt, VT_BOOL);
    EXPECT_EQ(host.values[u"Persist Security Info"].boolVal, VARIANT_TRUE);
}

TEST_F(PagesTest, ConnectionPageLoadsTextValuesCutTo255Characters) {
    Create(CLSID_ZelmoConnectionDlg);
    host.values[u"User ID"] = CComVariant(std::u16string(300, u'u').c_str());
    host.values[u"Password"] = CComVariant(u"pw");
    ASSERT_EQ(bag->Load(&host, nullptr), S_OK);
    host.writes.clear();
    ASSERT_EQ(bag->Save(&host, TRUE, FALSE), S_OK);
    EXPECT_EQ(TextOf(host.values[u"User ID"]), std::u16string(255, u'u'));
    EXPECT_EQ(TextOf(host.values[u"Password"]), u"pw");

    // A value of another type is taken as text; a missing one leaves the field alone.
    TestBag other;
    other.values[u"User ID"] = CComVariant(42);
    ASSERT_EQ(bag->Load(&other, nullptr), S_OK);
    ASSERT_EQ(bag->Save(&other, TRUE, FALSE), S_OK);
    EXPECT_EQ(TextOf(other.values[u"User ID"]), u"42");
    EXPECT_EQ(TextOf(other.values[u"Password"]), u"pw");
}

TEST_F(PagesTest, BagValuesThatAreNoTextKeepWhatBothPagesLoadedBefore) {
    Create(CLSID_ZelmoConnectionDlg);
    CComPtr<IPersistPropertyBag> advanced;
    ASSERT_EQ(CoCreateInstance(CLSID_ZelmoAdvancedDlg, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IPersistPropertyBag, reinterpret_cast<void**>(&advanced)),
              S_OK);
    host.values[u"User ID"] = CComVariant(u"ann");
    host.values[u"Password"] = CComVariant(u"pw");
    host.values[u"Data Source"] = CComVariant(u"1");
    ASSERT_EQ(bag->Load(&host, nullptr), S_OK);
    ASSERT_EQ(advanced->Load(&host, nullptr), S_OK);

    // Empty, null, an error code and an object: none of them reads as text.
    std::array<VARIANT, 4> noText{};
    noText[1].vt = VT_NULL;
    noText[2].vt = VT_ERROR;
    noText[2].scode = DISP_E_PARAMNOTFOUND;
    noText[3].vt = VT_UNKNOWN;
    noText[3].punkVal = nullptr;
    for (const VARIANT& value : noText) {
        TestBag other;
        for (const char16_t* name : {u"User ID", u"Password", u"Data Source"})
            other.values[name] = value;
        EXPECT_EQ(bag->Load(&other, nullptr), S_OK);
        EXPECT_EQ(advanced->Load(&other, nullptr), S_OK);
        ASSERT_EQ(bag->Save(&other, TRUE, FALSE), S_OK);
        ASSERT_EQ(advanced->Save(&other, TRUE, FALSE), S_OK);
        EXPECT_EQ(TextOf(other.values[u"User ID"]), u"ann") << "vt " << value.vt;
        EXPECT_EQ(TextOf(other.values[u"Password"]), u"pw") << "vt " << value.vt;
        EXPECT_EQ(TextOf(other.values[u"Data Source"]), u"1") << "vt " << value.vt;
    }
}

TEST_F(PagesTest, ConnectionPageStopsSavingAtTheFirstFailingWrite) {
    Create(CLSID_ZelmoConnectionDlg);
    host.failOn = u"Password";
    EXPECT_EQ(bag->Save(&host, TRUE, FALSE), STG_E_INVALIDPARAMETER);
    EXPECT_EQ(host.writes, std::vector<std::u16string>{u"User ID"});
    EXPECT_EQ(bag->Save(nullptr, TRUE, FALSE), E_POINTER);
    EXPECT_EQ(bag->Load(nullptr, nullptr), E_POINTER);
}

TEST_F(PagesTest, ConnectionPageEditsAreKeptCutTo254CharactersAndMakeThePageDirty) {
    Create(CLSID_ZelmoConnectionDlg);
    HWND window = Activate();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    ASSERT_TRUE(DialogTypeText(GetDlgItem(window, kUserEdit), std::u16string(300, u'a').c_str()));
    ASSERT_TRUE(DialogTypeText(GetDlgItem(window, kPasswordEdit), u"typed"));
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_EQ(bag->Save(&host, TRUE, FALSE), S_OK);
    EXPECT_EQ(TextOf(host.values[u"User ID"]), std::u16string(254, u'a'));
    EXPECT_EQ(TextOf(host.values[u"Password"]), u"typed");
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
}

TEST_F(PagesTest, ConnectionPageLoadShowsTheValuesWithTheFocusInTheUserName) {
    Create(CLSID_ZelmoConnectionDlg);
    HWND window = Activate();
    ASSERT_NE(window, nullptr);
    host.values[u"User ID"] = CComVariant(u"ann");
    host.values[u"Password"] = CComVariant(u"pw");
    ASSERT_EQ(bag->Load(&host, nullptr), S_OK);
    EXPECT_EQ(ControlText(window, kUserEdit), u"ann");
    EXPECT_EQ(ControlText(window, kPasswordEdit), u"pw");
    EXPECT_EQ(GetFocus(), GetDlgItem(window, kUserEdit));
}

TEST_F(PagesTest, PageInformationComesFromTheStringTable) {
    struct Case {
        const CLSID* clsid;
        const char16_t* title;
    };
    for (const Case& c : {Case{&CLSID_ZelmoConnectionDlg, u"Connection"},
                          Case{&CLSID_ZelmoAdvancedDlg, u"Advanced"}}) {
        CComPtr<IPropertyPage> each;
        ASSERT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                   reinterpret_cast<void**>(&each)),
                  S_OK);
        PROPPAGEINFO info{};
        ASSERT_EQ(each->GetPageInfo(&info), S_OK);
        EXPECT_EQ(std::u16string(info.pszTitle), c.title);
        EXPECT_EQ(std::u16string(info.pszDocString), u"");
        EXPECT_EQ(std::u16string(info.pszHelpFile), u"");
        EXPECT_GT(info.size.cx, 0);
        CoTaskMemFree(info.pszTitle);
        CoTaskMemFree(info.pszDocString);
        CoTaskMemFree(info.pszHelpFile);
    }
}

TEST_F(PagesTest, AdvancedPageClickingPreferAliasSavesOneBothWays) {
    Create(CLSID_ZelmoAdvancedDlg);
    HWND window = Activate();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(window, kUseBoth), BST_CHECKED);  // option 2 when created
    ASSERT_TRUE(DialogClickControl(GetDlgItem(window, kPreferAlias)));
    EXPECT_EQ(IsDlgButtonChecked(window, kPreferAlias), BST_CHECKED);
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_EQ(bag->Save(&host, TRUE, FALSE), S_OK);
    EXPECT_EQ(host.writes, (std::vector<std::u16string>{u"Data Source", u"Prefer Member Alias"}));
    EXPECT_EQ(TextOf(host.values[u"Data Source"]), u"1");
    const CComVariant& alias = host.values[u"Prefer Member Alias"];
    EXPECT_EQ(alias.vt, VT_INT);
    EXPECT_EQ(alias.intVal, 1);

    ASSERT_TRUE(DialogClickControl(GetDlgItem(window, kUseMemberName)));
    ASSERT_EQ(bag->Save(&host, TRUE, FALSE), S_OK);
    EXPECT_EQ(TextOf(host.values[u"Data Source"]), u"0");
}

TEST_F(PagesTest, AdvancedPageLoadsTheOptionFromDataSourceText) {
    Create(CLSID_ZelmoAdvancedDlg);
    HWND window = Activate();
    ASSERT_NE(window, nullptr);
    host.values[u"Prefer Member Alias"] = CComVariant(0, VT_INT);
    host.values[u"Data Source"] = CComVariant(u"2");
    ASSERT_EQ(bag->Load(&host, nullptr), S_OK);
    EXPECT_EQ(IsDlgButtonChecked(window, kUseBoth), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, kUseMemberName), BST_UNCHECKED);

    // Text that does not begin with a number keeps the option of "Prefer Member Alias".
    host.values[u"Data Source"] = CComVariant(u"alias");
    ASSERT_EQ(bag->Load(&host, nullptr), S_OK);
    EXPECT_EQ(IsDlgButtonChecked(window, kUseMemberName), BST_CHECKED);

    // A value outside 0..2 checks nothing.
    host.values[u"Data Source"] = CComVariant(u"7");
    ASSERT_EQ(bag->Load(&host, nullptr), S_OK);
    for (int id : {kUseMemberName, kPreferAlias, kUseBoth})
        EXPECT_EQ(IsDlgButtonChecked(window, id), BST_UNCHECKED);
}

TEST_F(PagesTest, AdvancedPageWithoutDataSourceReturnsTheBagsFailureAfterShowingTheOption) {
    Create(CLSID_ZelmoAdvancedDlg);
    HWND window = Activate();
    ASSERT_NE(window, nullptr);
    host.values[u"Prefer Member Alias"] = CComVariant(1, VT_INT);
    EXPECT_EQ(bag->Load(&host, nullptr), E_INVALIDARG);
    EXPECT_EQ(IsDlgButtonChecked(window, kPreferAlias), BST_CHECKED);
}

TEST_F(PagesTest, AdvancedPageStopsSavingWhenDataSourceCannotBeWritten) {
    Create(CLSID_ZelmoAdvancedDlg);
    host.failOn = u"Data Source";
    EXPECT_EQ(bag->Save(&host, TRUE, FALSE), STG_E_INVALIDPARAMETER);
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(PagesTest, AdvancedPageShowsTheModulesFileVersion) {
    Create(CLSID_ZelmoAdvancedDlg);
    HWND window = Activate();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, kVersionStatic), u"1.0.1.1");
}

}  // namespace
