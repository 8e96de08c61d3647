// A property page on the page templates, shaped like the provider's advanced page, with a
// property map of every transferable kind; a property bag and a page site that record calls.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "atl_com.h"
#include "atl_ui.h"

COMRT_GUID(CLSID_UiTestOptionsPage, 0x6d1c3f52, 0x2b7e, 0x4a61, 0x9e, 0x0d, 0x51, 0x7a, 0x3c, 0x22,
           0x90, 0x14);

constexpr int kNameRadio = 218;
constexpr int kAliasRadio = 216;
constexpr int kBothRadio = 217;
constexpr int kVersionStatic = 215;

class UiTestOptionsPage : public CComObjectRootEx<CComSingleThreadModel>,
                          public CComCoClass<UiTestOptionsPage, &CLSID_UiTestOptionsPage>,
                          public IPropertyPageImpl<UiTestOptionsPage>,
                          public IPersistPropertyBagImpl<UiTestOptionsPage>,
                          public CDialogImpl<UiTestOptionsPage> {
  public:
    enum { IDD = 340 };

    UiTestOptionsPage() {
        m_dwTitleID = 341;
        m_dwHelpFileID = 342;
        m_dwDocStringID = 343;
    }
    ~UiTestOptionsPage() { ::SysFreeString(name); }

    DECLARE_NO_REGISTRY()

    BEGIN_COM_MAP(UiTestOptionsPage)
    COM_INTERFACE_ENTRY(IPropertyPage)
    COM_INTERFACE_ENTRY(IPersistPropertyBag)
    COM_INTERFACE_ENTRY2(IPersist, IPersistPropertyBag)
    END_COM_MAP()

    BEGIN_PROP_MAP(UiTestOptionsPage)
    PROP_DATA_ENTRY("Prefer Member Alias", option, VT_INT)
    PROP_DATA_ENTRY("User", user, VT_LPWSTR)
    PROP_DATA_ENTRY("Flag", flag, VT_BOOL)
    PROP_DATA_ENTRY("Name", name, VT_BSTR)
    PROP_DATA_ENTRY("Ratio", ratio, VT_R8)
    PROP_DATA_ENTRY("Small", small, VT_I2)
    END_PROP_MAP()

    BEGIN_MSG_MAP(UiTestOptionsPage)
    CHAIN_MSG_MAP(IPropertyPageImpl<UiTestOptionsPage>)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(kAliasRadio, BN_CLICKED, OnAlias)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        CheckDlgButton(kNameRadio, option == 0 ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(kAliasRadio, option == 1 ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(kBothRadio, option == 2 ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemText(kVersionStatic, u"1.0.1.1");
        return 0;
    }
    LRESULT OnAlias(WORD, WORD, HWND, BOOL&) {
        option = 1;
        m_bRequiresSave = TRUE;
        m_bDirty = TRUE;
        return 0;
    }

    int option = 2;
    WCHAR user[256] = {};
    BOOL flag = FALSE;
    BSTR name = nullptr;
    double ratio = 0;
    SHORT small = 0;
    BOOL m_bRequiresSave = FALSE;
};

// A property bag over a map: reads give back the stored value in its own type.
class TestPropertyBag : public IPropertyBag {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IPropertyBag) return E_NOINTERFACE;
        *ppv = static_cast<IPropertyBag*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(Read)(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) override {
        auto found = values.find(pszPropName);
        if (found == values.end()) return E_INVALIDARG;
        ::VariantClear(pVar);
        return ::VariantCopy(pVar, &found->second);
    }
    STDMETHOD(Write)(LPCOLESTR pszPropName, VARIANT* pVar) override {
        written.push_back(pszPropName);
        if (written.back() == failWrite) return STG_E_INVALIDPARAMETER;
        return values[pszPropName].Copy(pVar);
    }

    std::map<std::u16string, CComVariant> values;
    std::vector<std::u16string> written;
    std::u16string failWrite;
    ULONG refs = 1;
};

class TestPageSite : public IPropertyPageSite {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IPropertyPageSite) return E_NOINTERFACE;
        *ppv = static_cast<IPropertyPageSite*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(OnStatusChange)(DWORD dwFlags) override {
        statusChanges.push_back(dwFlags);
        return S_OK;
    }
    STDMETHOD(GetLocaleID)(LCID* pLocaleID) override {
        *pLocaleID = 0x0409;
        return S_OK;
    }
    STDMETHOD(GetPageContainer)(IUnknown** ppUnk) override {
        *ppUnk = nullptr;
        return E_NOTIMPL;
    }
    STDMETHOD(TranslateAccelerator)(MSG*) override { return S_FALSE; }

    std::vector<DWORD> statusChanges;
    ULONG refs = 1;
};
